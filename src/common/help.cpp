#include "common/help.h"

#include <map>
#include <string>

#include "common/console.h"
#include "common/drives.h"
#include "common/forms.h"
#include "data/access.h"

namespace sklad {

namespace {

struct Registry {
    std::map<int, HelpPicker> pickers;
    HelpPicker kinds;
};

Registry& registry() {
    static Registry r;
    return r;
}

HelpPicker chosen() {
    Registry& r = registry();
    if (READVAR() == "M_RD" && r.kinds) return r.kinds;
    switch (POMOC) {
        case 0: return {};
        case 999: return [] { HELP_TEXT("pomoc.txt"); };
        case 2000: return [] { HELP_TEXT("ps2000\\pomoc.txt"); };
        default: break;
    }
    auto it = r.pickers.find(POMOC);
    return it == r.pickers.end() ? HelpPicker{} : it->second;
}

}  // namespace

void HELP_REGISTER(int pomoc, HelpPicker picker) {
    if (picker) registry().pickers[pomoc] = std::move(picker);
    else registry().pickers.erase(pomoc);
}

void HELP_REGISTER_RD(HelpPicker picker) { registry().kinds = std::move(picker); }

void HELP() {
    HelpPicker picker = chosen();
    if (!picker) return;
    const ScreenImage screen = SAVESCREEN();
    const std::string colour = SETCOLOR();
    const int cursor = SETCURSOR();
    const int row = ROW(), col = COL();
    picker();
    RESTSCREEN(screen);
    SETCOLOR(colour);
    SETCURSOR(cursor);
    SETPOS(row, col);
}

void HELP_TEXT(std::string_view file) {
    if (!FILE_X(file)) return;
    const ScreenImage screen = SAVESCREEN();
    const std::string colour = SETCOLOR("N/W");
    CLS();
    MEMOEDIT_FILE(HOST_PATH(file).string(), 0, 0, 24, 79, false);
    SETCOLOR(colour);
    RESTSCREEN(screen);
}

}  // namespace sklad
