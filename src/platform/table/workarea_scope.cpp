// Scope routines of the work areas: scan, locate and continue, eval.
#include "platform/table/workarea_internal.h"

namespace platform::table {

uint64_t WorkAreas::scan(const Scope& scope, const std::function<bool()>& visit, int area) {
    const int n = resolve(area);
    Table& t = *used_slot(n).table;
    if (scope.record != 0) {
        go_to(scope.record, n);
        if (t.eof() || (t.hide_deleted() && t.deleted())) return 0;
        if (scope.while_condition && !scope.while_condition()) return 0;
        if (scope.for_condition && !scope.for_condition()) return 0;
        visit();
        return 1;
    }
    if (!scope.rest && !scope.next && !scope.while_condition) go_top(n);
    uint64_t taken = 0;
    uint64_t visited = 0;
    while (!t.eof()) {
        if (scope.next && taken >= *scope.next) break;
        if (scope.while_condition && !scope.while_condition()) break;
        ++taken;
        if (!scope.for_condition || scope.for_condition()) {
            ++visited;
            if (!visit()) break;
        }
        skip(1, n);
    }
    return visited;
}

bool WorkAreas::locate(const Scope& scope, int area) {
    const int n = resolve(area);
    Area& a = used_slot(n);
    a.locate_for = scope.for_condition;
    a.locate_while = scope.while_condition;
    a.locate_known = true;
    bool hit = false;
    scan(scope, [&hit] { return !(hit = true); }, n);
    a.located = hit;
    a.located_recno = a.table->recno();
    return hit;
}

bool WorkAreas::continue_locate(int area) {
    const int n = resolve(area);
    Area& a = used_slot(n);
    if (!a.locate_known) return false;
    if (a.table->eof()) {
        a.located = false;
        return false;
    }
    skip(1, n);
    Scope rest;
    rest.for_condition = a.locate_for;
    rest.while_condition = a.locate_while;
    rest.rest = true;
    bool hit = false;
    scan(rest, [&hit] { return !(hit = true); }, n);
    a.located = hit;
    a.located_recno = a.table->recno();
    return hit;
}

uint64_t WorkAreas::eval(const std::function<void()>& block, const Scope& scope, int area) {
    return scan(
        scope,
        [&block] {
            block();
            return true;
        },
        area);
}

}  // namespace platform::table
