#pragma once
// Work areas: numbered slots 1..250, each holding an open Table under an alias, with the
// per-area view the xBase program relies on: the current area, a filter given as expression
// text, relations (a child area follows a key computed on its parent's record) and
// locate/continue over a scope.
//
// Expressions compiled here see every area: `alias->field` reads another area's current record,
// a plain name is a field of the expression's own area, and names no area knows go to a hook
// (the application plugs its session variables in there). An expression that names an area
// keeps working only while that area holds the same table: once it is closed or reopened,
// reading the name throws TableError instead of reading another table's bytes.
//
// Relations and FOUND() are kept by the navigation routines of this class: moving an area's
// Table directly does not move its child areas.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/table.h"

namespace platform::table {

inline constexpr int kMaxAreas = 250;

// Which records a locate, eval or bulk routine takes, as the xBase scope clauses say. Without
// `rest`, `next`, `record` or a while-condition the scan starts at the top; otherwise at the
// current record. Records hidden by the area's filter or as deleted are never visited.
struct Scope {
    std::function<bool()> for_condition;    // records taken; empty: every record
    std::function<bool()> while_condition;  // the scan ends at the first record where it fails
    std::optional<uint64_t> next;           // at most this many records, from the current one
    uint32_t record = 0;                    // only this record
    bool rest = false;                      // from the current record to the end
};

class WorkAreas {
  public:
    // Binds a name the areas do not know: alias is "" for a plain name, else upper case as
    // written ("M" for M->name). nullopt: unknown name.
    using NameHook = std::function<std::optional<FieldBinding>(std::string_view alias, std::string_view name)>;

    WorkAreas();
    WorkAreas(const WorkAreas&) = delete;
    WorkAreas& operator=(const WorkAreas&) = delete;
    ~WorkAreas();

    void set_name_hook(NameHook hook) { name_hook_ = std::move(hook); }
    void set_today(std::function<Date()> today) { today_ = std::move(today); }

    // ---- areas. An `area` argument of 0 means the current area.
    int current() const { return current_; }
    // Selects an area; 0 selects the first free one. TableError when out of range or none is free.
    void select(int area);
    // Selects the area holding `alias` (any letter case) and returns its number; TableError when
    // no area has it.
    int select(std::string_view alias);
    int area_of(std::string_view alias) const;  // 0 when no area has it
    int first_free() const;                     // 0 when every area is taken
    bool used(int area = 0) const;
    std::string alias(int area = 0) const;  // upper case; "" when the area is unused
    Table& table(int area = 0);             // TableError when the area is unused
    Table* find(int area = 0);              // nullptr when unused

    // Opens a table into the current area, closing what it held. The alias defaults to the file
    // name; an alias that another area holds is refused (TableError). Engine errors propagate
    // (OpenConflict when another copy holds the table the other way); the area is then empty.
    Table& open(const std::filesystem::path& path, std::string_view alias = {}, OpenMode mode = OpenMode::Shared);
    // Closes an area: writes pending changes, ends its locks, drops its filter, its relations
    // and the relations other areas had into it.
    void close(int area = 0);
    void close_all();

    // ---- navigation; each keeps the area's child areas in step
    void go_top(int area = 0);
    void go_bottom(int area = 0);
    void skip(int64_t n = 1, int area = 0);
    void go_to(uint32_t recno, int area = 0);
    // Exact seek in the current order. A text searches the keys it begins; a number, date or
    // logical is turned into the index's key form, and a date on a text key (DTOS(data)+...)
    // searches its DTOS() text. TableError in natural order or for a value the key cannot take.
    bool seek(const Value& key, int area = 0);
    bool found(int area = 0);  // last seek or locate of the area, on the record it found
    // Appends a blank record (locked, current); false when another copy holds the table lock.
    bool append_blank(int area = 0);

    // ---- expressions over the areas. Plain names are fields of `area`. Throws ExprError.
    // The callable is valid while this object lives.
    std::function<Value()> expression(std::string_view text, int area = 0);
    std::function<bool()> condition(std::string_view text, int area = 0);  // ExprError unless logical
    // The key form of `v` for the area's index `order` (0: the current order); see seek().
    std::string seek_key(const Value& v, int order = 0, int area = 0);

    // ---- filters (navigation skips records that fail it; records are not moved to)
    void set_filter(std::string_view text, int area = 0);
    void set_filter(std::function<bool()> filter, std::string text = {}, int area = 0);
    void clear_filter(int area = 0);
    std::string filter_text(int area = 0) const;

    // ---- relations: whenever `parent` moves, `key_text` computed on its record is sought in
    // `child`'s current order (a numeric key goes to that record number when the child has no
    // order); at the parent's end of file the child is at its end of file too. A parent may
    // have several children; a relation that would lead back to the parent is refused.
    void set_relation(int child, std::string_view key_text, int parent = 0);
    void clear_relations(int parent = 0);
    // Positions the children of `parent` for its current record now.
    void follow(int parent = 0);
    std::vector<int> children(int parent = 0) const;

    // ---- scope routines
    // Calls visit() on each record in scope that meets the for-condition, in the current order,
    // until visit() returns false. Returns how many were visited.
    uint64_t scan(const Scope& scope, const std::function<bool()>& visit, int area = 0);
    // Stops on the first record in scope meeting the for-condition: true and found(); otherwise
    // false, at the end of the scope.
    bool locate(const Scope& scope, int area = 0);
    // Resumes the last locate of the area from the next record (for and while kept).
    bool continue_locate(int area = 0);
    uint64_t eval(const std::function<void()>& block, const Scope& scope, int area = 0);

    struct Compiled;  // an expression with its binder (workarea_expr.cpp)

  private:
    class AreaBinder;
    friend class AreaBinder;
    struct Relation;
    struct Area;

    Area& slot(int area);
    const Area& slot(int area) const;
    Area& used_slot(int area);
    // The area's table if it still holds the one opened as `generation`; TableError otherwise.
    Table& checked(int area, uint64_t generation, const std::string& alias);
    int resolve(int area) const { return area == 0 ? current_ : area; }
    std::shared_ptr<Compiled> compile(std::string_view text, int area, bool owned);
    void moved(int area);
    void follow_depth(int parent, int depth);
    void reset_view(Area& a);
    void install_filter(int area);

    std::vector<std::unique_ptr<Area>> areas_;  // index 0 unused
    int current_ = 1;
    uint64_t generations_ = 0;
    NameHook name_hook_;
    std::function<Date()> today_;
};

}  // namespace platform::table
