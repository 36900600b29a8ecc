#include "data/record_copy.h"

#include <algorithm>

#include "common/console.h"
#include "data/access.h"
#include "platform/text/cp852.h"

namespace sklad {

namespace {

using platform::table::Table;

bool empty_value(const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return s->find_first_not_of(' ') == std::string::npos;
    if (auto d = std::get_if<Date>(&v)) return d->empty();
    if (auto b = std::get_if<bool>(&v)) return !*b;
    if (auto n = std::get_if<Decimal>(&v)) return n->is_zero();
    return true;
}

enum class Copy { All, NonEmptyExceptNumbers, NonEmpty, NumbersOnly };

// Copies the fields X and Y share (same name and type) from Y's current record into X's.
void copy_fields(Table& to, Table& from, Copy rule) {
    for (const FieldDef& f : to.fields()) {
        int i = from.field_index(f.name);
        if (i < 0 || from.fields()[static_cast<std::size_t>(i)].type != f.type) continue;
        Value v = from.get(i);
        const bool number = f.type == FieldType::Numeric;
        if (rule == Copy::NumbersOnly && !number) continue;
        if (rule == Copy::NonEmptyExceptNumbers && !number && empty_value(v)) continue;
        if (rule == Copy::NonEmpty && empty_value(v)) continue;
        try {
            to.put(f.name, v);
        } catch (const platform::table::FieldError&) {
            // a value the target field cannot hold (a number too wide) stays blank there
        }
    }
    if (to.field_index("RECNO_Y") >= 0) to.put("RECNO_Y", Value(Decimal(static_cast<long long>(from.recno()))));
}

// Empties a table: at once with exclusive use, otherwise record by record under the table lock.
void empty_table(int area) {
    Table& t = WORKAREAS().table(area);
    if (t.exclusive()) {
        t.zap();
        return;
    }
    if (!t.lock_table()) return;
    for (t.go_top(); !t.eof(); t.skip()) t.delete_record();
    t.unlock();
}

// Locks a record once more, commits and unlocks, so other copies see the bulk change.
void flush(int area) {
    DBSELECTAREA(area);
    if (REC_LOCK(30)) {
        DBCOMMIT();
        DBUNLOCK();
    } else {
        DBCOMMIT();
    }
}

class Progress {
  public:
    Progress(int x, bool restore) : restore_(restore) {
        if (restore_) saved_ = SAVESCREEN(11, 22, 14, 58);
        const std::string title = " Odtwarzanie zbioru " + ALIAS(x) + ".DBF ";
        DISPBOX(11, 22, 14, 58, 2);
        const int width = 58 - 22 - 1;
        DISPOUTAT(11, 23 + std::max(0, (width - static_cast<int>(title.size())) / 2), title);
        DISPOUTAT(13, 25, std::string(31, static_cast<char>(177)));
    }
    ~Progress() {
        if (restore_) RESTSCREEN(11, 22, 14, 58, saved_);
    }
    void show(long recno, long count) {
        long percent = count > 0 ? std::min(100L, recno * 100 / count) : 100;
        if (percent == shown_) return;
        shown_ = percent;
        DISPOUTAT(12, 25, std::to_string(percent) + "% ");
        DISPOUTAT(13, 25, std::string(static_cast<std::size_t>(percent * 31 / 100), static_cast<char>(219)));
    }

  private:
    bool restore_;
    ScreenImage saved_;
    long shown_ = -1;
};

bool append_from(int x, int y, const std::function<bool()>& begin, const Condition& while_condition,
                 const Condition& for_condition, bool retrying) {
    auto& wa = WORKAREAS();
    Table& to = wa.table(x);
    Table& from = wa.table(y);
    if (!begin()) return true;
    auto while_ok = while_condition.in_area(y);
    auto for_ok = for_condition.in_area(y);
    for (; !from.eof(); wa.skip(1, y)) {
        if (while_ok && !while_ok()) break;
        if (for_ok && !for_ok()) continue;
        DBSELECTAREA(x);
        if (!(retrying ? ADD_REC(10) : (DBAPPEND() && !NETERR()))) continue;
        copy_fields(to, from, Copy::All);
        to.unlock();
    }
    return true;
}

}  // namespace

bool APPEND_X_FROM_Y(int x, int y, const Value& seek, const Condition& while_condition, bool keep) {
    const int caller = SELECT();
    if (!keep) empty_table(x);
    append_from(x, y, [&] { return WORKAREAS().seek(seek, y); }, while_condition, {}, false);
    DBSELECTAREA(caller);
    return true;
}

bool APP_X_FROM_Y(int x, int y, const Value& seek, const Condition& while_condition, const Condition& for_condition) {
    const int caller = SELECT();
    const long caller_rec = RECNO();
    empty_table(x);
    append_from(x, y, [&] { return WORKAREAS().seek(seek, y); }, while_condition, for_condition, true);
    DBSELECTAREA(caller);
    if (USED()) DBGOTO(caller_rec);
    return true;
}

bool _APPEND_X_FROM_Y(int x, int y, const Condition& for_condition, bool keep) {
    const int caller = SELECT();
    if (!keep) empty_table(x);
    append_from(x, y, [&] { WORKAREAS().go_top(y); return true; }, {}, for_condition, false);
    DBSELECTAREA(caller);
    return true;
}

namespace {

bool update(int x, int y, std::string_view key, bool zero_variant) {
    const int caller = SELECT();
    auto& wa = WORKAREAS();
    Table& to = wa.table(x);
    Table& from = wa.table(y);
    auto key_of_y = wa.expression(key, y);
    Progress progress(x, !zero_variant);  // UPDATE0 has cleared the screen instead
    const long count = static_cast<long>(from.lastrec());
    for (wa.go_top(y); !from.eof(); wa.skip(1, y)) {
        progress.show(static_cast<long>(from.recno()), count);
        DBSELECTAREA(x);
        bool added = false;
        if (!wa.seek(key_of_y(), x)) {
            if (!ADD_REC(10)) continue;
            added = true;
        }
        const uint32_t rec = to.recno();
        const int order = to.order();
        to.set_order(0);
        wa.go_to(rec, x);
        if (added || REC_LOCK(10)) {
            copy_fields(to, from, zero_variant ? (added ? Copy::NonEmpty : Copy::NumbersOnly) : Copy::NonEmptyExceptNumbers);
            to.unlock();
        }
        to.set_order(order == 0 ? 0 : 1);
    }
    flush(x);
    DBSELECTAREA(caller);
    return true;
}

}  // namespace

bool UPDATE_X_FROM_Y(int x, int y, std::string_view key) { return update(x, y, key, false); }

bool UPDATE0_X_FROM_Y(int x, int y, std::string_view key) {
    CLS();
    return update(x, y, key, true);
}

bool ZAMIEN_X_FROM_Y(int x, int y, const Condition& condition) {
    const int caller = SELECT();
    auto& wa = WORKAREAS();
    Table& to = wa.table(x);
    Table& from = wa.table(y);
    CLS();
    Progress progress(x, false);
    auto ok = condition.in_area(y);
    const bool hid_to = to.hide_deleted();
    to.set_hide_deleted(false);  // X's deleted records are reused
    const int order = to.order();
    to.set_order(0);
    const long count = static_cast<long>(from.lastrec());
    uint32_t next = 1;
    for (wa.go_top(y); !from.eof(); wa.skip(1, y)) {
        progress.show(static_cast<long>(from.recno()), count);
        if (from.deleted() || (ok && !ok())) continue;
        DBSELECTAREA(x);
        if (next <= to.lastrec()) {
            wa.go_to(next, x);
            if (!REC_LOCK(10)) {
                ++next;
                continue;
            }
            if (to.deleted()) to.recall();
        } else if (!ADD_REC(10)) {
            continue;
        }
        copy_fields(to, from, Copy::All);
        to.unlock();
        ++next;
    }
    for (uint32_t r = next; r <= to.lastrec(); ++r) {
        wa.go_to(r, x);
        DBSELECTAREA(x);
        if (!to.deleted() && REC_LOCK(10)) {
            to.delete_record();
            to.unlock();
        }
    }
    to.set_hide_deleted(hid_to);
    to.set_order(order);
    flush(x);
    DBSELECTAREA(caller);
    return true;
}

}  // namespace sklad
