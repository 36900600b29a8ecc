#pragma once
// Lists over the selected work area under the names the application's routines use: the browse
// object (TBROWSEDB, TBCOLUMNNEW) and the record-list control (DBEDIT).
//
// The work area is reached through a seam the data layer fills in: how to walk the selected work
// area's records in its current order and filter, and how to turn a column's expression text
// ("as->ilosc-as->rezerwa9w") into a routine that evaluates it on the current record.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console/browse.h"
#include "platform/console/dbedit.h"
#include "platform/value/value.h"

namespace sklad {

using platform::console::Browse;
using platform::console::BrowseColumn;
using platform::console::RowSource;
using namespace platform::console::dbedit_codes;  // DE_IDLE ... DE_REFRESH

struct WorkAreaRows {
    RowSource rows;  // go top/bottom, skip, eof/bof, and recno/goto as the bookmark
    // Compiles an expression text over the work areas; throws on bad text.
    std::function<std::function<platform::Value()>(std::string_view text)> compile;
};

// The data layer installs how the selected work area is reached (an empty routine removes it).
void SET_WORKAREA_ROWS(std::function<WorkAreaRows()> provider);
// The selected work area's rows; throws std::logic_error when no data layer is installed.
WorkAreaRows SELECTED_ROWS();

// A browse over the selected work area in the rectangle; the caller adds columns and moves it.
std::unique_ptr<Browse> TBROWSEDB(int top, int left, int bottom, int right);
BrowseColumn TBCOLUMNNEW(std::string heading, std::function<platform::Value()> value, std::string picture = "");
// A column from an expression text, compiled over the selected work area.
BrowseColumn TBCOLUMNNEW(std::string heading, std::string_view expression, std::string picture = "");

// The record-list control over the selected work area: one column per expression text, with
// parallel pictures and headings (a column without a heading shows its text). `user` gets
// (mode, column) and answers DE_ABORT, DE_CONT or DE_REFRESH. Empty separators take the defaults.
void DBEDIT(int top, int left, int bottom, int right, const std::vector<std::string>& columns,
            std::function<int(int mode, int column)> user = {}, const std::vector<std::string>& pictures = {},
            const std::vector<std::string>& headings = {}, std::string_view head_sep = "",
            std::string_view col_sep = "", std::string_view foot_sep = "");

}  // namespace sklad
