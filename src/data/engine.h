#pragma once
// The table engine under the names the application's routines use, over the application's one
// set of work areas. Routines act on the selected area unless they say otherwise.
//
// - File names are folded to lower case ("24\01\DOWOD" opens "24/01/dowod.dbf"); ".dbf" or
//   ".ntx" is added when the name has no extension.
// - NETERR() reports what a copy on another workstation caused: an open refused (the table
//   is held the other way) and an append refused (another copy holds the table lock). Every
//   other engine failure propagates as the engine's typed exception (TableError and kin).
// - Deleted records are hidden from navigation, as the program runs with them hidden.
// - Expression texts (filters, relations, conditions) may name fields of any open area as
//   alias->field and session variables by name or as M->name; a text variable takes part with
//   the length it had when the text was compiled.
// - Reading the state of an unused area gives neutral answers (RECNO() 0, EOF() true,
//   FCOUNT() 0, ALIAS() "") and closing, committing or unlocking it does nothing; acting on
//   one (skip, append, field access) throws TableError.
//
// EOF() is one of these routines, so this header removes the C library's EOF macro; code that
// needs that value uses std::char_traits<char>::eof().

#include <cstdio>
#undef EOF

#include <concepts>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/table/workarea.h"
#include "platform/value/value.h"

namespace sklad {

using platform::Date;
using platform::Decimal;
using platform::FieldDef;
using platform::FieldType;
using platform::Value;

// The application's work areas. RESET_WORKAREAS closes them all and starts afresh (tests).
platform::table::WorkAreas& WORKAREAS();
void RESET_WORKAREAS();

// A table or index file name as the program writes it, as a path: backslashes become slashes,
// the name is folded to lower case (of a full path only the file name) and `extension`
// (".dbf", ".ntx") is added when the name has none.
std::filesystem::path TABLE_FILE(std::string_view name, std::string_view extension = ".dbf");

// A condition given as code or as expression text (compiled in the area it is used in).
class Condition {
  public:
    Condition() = default;
    Condition(const char* text) : text_(text) {}
    Condition(std::string text) : text_(std::move(text)) {}
    Condition(std::string_view text) : text_(text) {}
    template <class F>
        requires std::is_invocable_r_v<bool, F&> && (!std::is_convertible_v<F, std::string_view>)
    Condition(F code) : code_(std::move(code)) {}

    bool empty() const { return !code_ && text_.empty(); }
    // The condition ready to run in `area`; empty when there is none.
    std::function<bool()> in_area(int area) const;

  private:
    std::string text_;
    std::function<bool()> code_;
};

// ---- opening, closing, selecting
// Opens a table in the selected area (a free one with new_area) under `alias` (default: the
// file name). Returns false with NETERR() set when another copy holds it the other way.
bool DBUSEAREA(bool new_area, std::string_view file, std::string_view alias = {}, bool shared = true, bool read_only = false);
bool NETERR();
void NETERR(bool value);
void DBCLOSEAREA();
void DBCLOSEALL();
void DBSELECTAREA(int area);  // 0: the first free area
void DBSELECTAREA(std::string_view alias);
int SELECT();                        // the selected area
int SELECT(std::string_view alias);  // the area holding alias, 0 when none
std::string ALIAS(int area = 0);     // upper case, "" for an unused area
bool USED();

// ---- indexes
// Builds an index from the key expression, closes the area's other indexes and makes the new
// one the order, at the top.
void DBCREATEINDEX(std::string_view file, std::string_view key, bool unique = false);
void ORDLISTADD(std::string_view file);  // the first index opened becomes the order
void ORDLISTCLEAR();
int ORDSETFOCUS();           // the order (0: record order)
int ORDSETFOCUS(int order);  // returns the order before
std::string INDEXKEY(int order = 0);  // key text of an order (0: the current one), "" when none
int INDEXORD();

// ---- navigation
bool DBSEEK(const Value& key);  // exact; a shorter text finds the keys it begins
bool FOUND();
void DBSKIP(long n = 1);
void DBGOTOP();
void DBGOBOTTOM();
void DBGOTO(long recno);
long RECNO();
long LASTREC();
bool EOF();
bool BOF();
// Scope arguments: next > 0 takes at most that many records, record > 0 only that record, rest
// starts at the current record; without next, record, rest or a while-condition the scan
// starts at the top.
bool __DBLOCATE(const Condition& for_condition, const Condition& while_condition = {}, long next = 0, long record = 0,
                bool rest = false);
bool __DBCONTINUE();
long DBEVAL(const std::function<void()>& block, const Condition& for_condition = {}, const Condition& while_condition = {},
            long next = 0, long record = 0, bool rest = false);

// ---- records and fields
bool DBAPPEND();  // the new record is current and locked; false with NETERR() when refused
int FIELDPOS(std::string_view name);  // 1-based; 0 when the table has no such field
std::string FIELDNAME(int pos);       // "" out of range
int FCOUNT();
std::vector<FieldDef> DBSTRUCT();
// Fields by name ("nazwa" or "as->nazwa") or by position. FIELDPUT needs the record (or table)
// locked on a shared table (LockRequired otherwise).
Value FIELDGET(std::string_view name);
Value FIELDGET(int pos);
void FIELDPUT(std::string_view name, const Value& value);
void FIELDPUT(int pos, const Value& value);
// Typed readers; FieldError when the field is of another type.
std::string FC(std::string_view name);
Decimal FN(std::string_view name);
Date FD(std::string_view name);
bool FL(std::string_view name);
void DBDELETE();
void DBRECALL();
bool DELETED();
void __DBPACK();  // exclusive use only (NeedExclusive)
void __DBZAP();   // exclusive use only (NeedExclusive)
void DBCOMMIT();
void DBCOMMITALL();

// ---- locks
bool RLOCK();  // the current record; releases the area's other record locks
bool FLOCK();
void DBUNLOCK();
void DBUNLOCKALL();

// ---- views
void DBSETFILTER(std::string_view text);
void DBSETFILTER(std::function<bool()> filter, std::string_view text = {});
void DBCLEARFILTER();
std::string DBFILTER();
// The selected area becomes the parent of `child` on the key text.
void DBSETRELATION(int child, std::string_view key);
void DBSETRELATION(std::string_view child_alias, std::string_view key);
void DBCLEARRELATION();

// ---- bulk; conditions of __DBAPP run in the source table, selected meanwhile
long __DBCOPY(std::string_view file, const std::vector<std::string>& fields = {}, const Condition& for_condition = {},
              const Condition& while_condition = {}, long next = 0, long record = 0, bool rest = false);
long __DBAPP(std::string_view file, const std::vector<std::string>& fields = {}, const Condition& for_condition = {},
             const Condition& while_condition = {}, long next = 0, long record = 0, bool rest = false);
long __DBTOTAL(std::string_view file, std::string_view key, const std::vector<std::string>& fields = {},
               const Condition& for_condition = {}, const Condition& while_condition = {}, long next = 0, long record = 0,
               bool rest = false);
void DBCREATE(std::string_view file, const std::vector<FieldDef>& fields);

}  // namespace sklad
