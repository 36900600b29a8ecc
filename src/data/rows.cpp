#include "data/rows.h"

#include "common/lists.h"
#include "data/engine.h"

namespace sklad {

namespace {

namespace table = platform::table;

// The rows of one area, fixed when the list is built: a routine that selects another area while
// the list waits (a picker, a look-up) does not move the list's table.
RowSource rows_of(int area) {
    RowSource r;
    r.go_top = [area] { WORKAREAS().go_top(area); };
    r.go_bottom = [area] { WORKAREAS().go_bottom(area); };
    r.eof = [area] { return WORKAREAS().table(area).eof(); };
    r.bof = [area] { return WORKAREAS().table(area).bof(); };
    r.bookmark = [area] { return static_cast<long>(WORKAREAS().table(area).recno()); };
    r.go_to = [area](long recno) { WORKAREAS().go_to(recno < 0 ? 0 : static_cast<uint32_t>(recno), area); };
    // One record at a time, so that the count moved is exact under a filter and the pointer
    // stays on the last or first record instead of on the phantom record past either end.
    r.skip = [area](long n) {
        table::WorkAreas& w = WORKAREAS();
        long moved = 0;
        while (moved < n) {
            w.skip(1, area);
            if (w.table(area).eof()) {
                w.skip(-1, area);
                break;
            }
            ++moved;
        }
        while (moved > n) {
            w.skip(-1, area);
            if (w.table(area).bof()) break;
            --moved;
        }
        return moved;
    };
    return r;
}

}  // namespace

void INSTALL_WORKAREA_ROWS() {
    SET_WORKAREA_ROWS([] {
        WorkAreaRows w;
        const int area = WORKAREAS().current();
        w.rows = rows_of(area);
        w.compile = [area](std::string_view text) { return WORKAREAS().expression(text, area); };
        return w;
    });
}

}  // namespace sklad
