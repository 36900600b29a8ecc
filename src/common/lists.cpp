#include "common/lists.h"

#include <stdexcept>

#include "common/console.h"

namespace sklad {

namespace {

std::function<WorkAreaRows()>& provider() {
    static std::function<WorkAreaRows()> p;
    return p;
}

}  // namespace

void SET_WORKAREA_ROWS(std::function<WorkAreaRows()> p) { provider() = std::move(p); }

WorkAreaRows SELECTED_ROWS() {
    if (!provider()) throw std::logic_error("no work areas: the data layer has not been installed");
    return provider()();
}

std::unique_ptr<Browse> TBROWSEDB(int top, int left, int bottom, int right) {
    return std::make_unique<Browse>(CONSOLE(), top, left, bottom, right, SELECTED_ROWS().rows);
}

BrowseColumn TBCOLUMNNEW(std::string heading, std::function<platform::Value()> value, std::string picture) {
    return BrowseColumn(std::move(heading), std::move(value), std::move(picture));
}

BrowseColumn TBCOLUMNNEW(std::string heading, std::string_view expression, std::string picture) {
    return BrowseColumn(std::move(heading), SELECTED_ROWS().compile(expression), std::move(picture));
}

void DBEDIT(int top, int left, int bottom, int right, const std::vector<std::string>& columns,
            std::function<int(int mode, int column)> user, const std::vector<std::string>& pictures,
            const std::vector<std::string>& headings, std::string_view head_sep, std::string_view col_sep,
            std::string_view foot_sep) {
    WorkAreaRows area = SELECTED_ROWS();
    platform::console::DbeditSpec spec;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        spec.columns.push_back(area.compile(columns[i]));
        spec.headings.push_back(i < headings.size() ? headings[i] : columns[i]);
    }
    spec.pictures = pictures;
    if (!head_sep.empty()) spec.head_sep = head_sep;
    if (!col_sep.empty()) spec.col_sep = col_sep;
    spec.foot_sep = foot_sep;
    spec.user = std::move(user);
    platform::console::dbedit(CONSOLE(), top, left, bottom, right, area.rows, spec);
}

}  // namespace sklad
