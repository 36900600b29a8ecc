// console_demo: the console toolkit in a real terminal. A light-bar menu leads to a pick-list, a
// small form, a browse over a generated list, the text editor and a key viewer; Alt-K opens a box
// from any wait. Used by hand and by the end-to-end test, which drives it in tmux.
//
// Environment: CONSOLE_DEMO_END_FILE names a file that the orderly end (SIGTERM, SIGHUP, SIGINT)
// writes "koniec <signal>" into, so the test can see that the end handler ran.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/console/achoice.h"
#include "platform/console/browse.h"
#include "platform/console/clock.h"
#include "platform/console/console.h"
#include "platform/console/form.h"
#include "platform/console/keys.h"
#include "platform/console/memoedit.h"
#include "platform/console/menu.h"
#include "platform/console/terminal.h"
#include "platform/text/cp852.h"

namespace pc = platform::console;
using platform::Date;
using platform::Decimal;
using platform::Value;

namespace {

void show_result(pc::Console& con, std::string_view line1, std::string_view line2 = "") {
    con.scroll(21, 0, 23, 79);
    con.out_at(21, 1, line1);
    con.out_at(22, 1, line2);
}

void draw_main(pc::Console& con) {
    con.set_colour("");
    con.clear_screen();
    con.out_at(0, 0, std::string(80, ' '), pc::make_attr(15, 1));
    con.out_at(0, 1, "console_demo", pc::make_attr(15, 1));
    con.out_at(0, 72, con.clock().time_of_day(), pc::make_attr(15, 1));
    con.box(2, 1, 9, 30, pc::kBoxDouble, pc::make_attr(15, 0));
    con.out_at(24, 0, "Enter-wybor   Esc-koniec   Alt-K-okienko", pc::make_attr(0, 7));
}

// Alt-K: a box drawn over whatever is on screen, from inside any wait.
void hot_box(pc::Console& con) {
    pc::ScreenImage under = con.save(18, 55, 22, 78);
    con.box(18, 55, 22, 78, pc::kBoxSingleFill, pc::make_attr(15, 5));
    con.out_at(20, 57, "KALKULATOR  (Esc)", pc::make_attr(15, 5));
    while (con.inkey(pc::Wait::forever()) != pc::K_ESC) {
    }
    con.restore(18, 55, 22, 78, under);
}

void months(pc::Console& con) {
    std::vector<std::string> items = {"Styczen", "Luty", "Marzec",   "Kwiecien", "Maj",      "Czerwiec",
                                      "Lipiec",  "Sierpien", "Wrzesien", "Pazdziernik", "Listopad", "Grudzien"};
    pc::ScreenImage under = con.save(2, 34, 9, 50);
    con.box(2, 34, 9, 50, pc::kBoxSingleFill);
    int n = pc::achoice(con, 3, 35, 8, 49, items);
    con.restore(2, 34, 9, 50, under);
    show_result(con, n ? "Wybrano: " + items[n - 1] : "Nic nie wybrano");
}

void form(pc::Console& con) {
    std::string name(20, ' ');
    Decimal qty = 0;
    Date day = con.clock().today();
    pc::ScreenImage under = con.save(11, 34, 16, 78);
    con.box(11, 34, 16, 78, pc::kBoxSingleFill);
    con.out_at(12, 36, "Nazwa :");
    con.out_at(13, 36, "Ilosc :");
    con.out_at(14, 36, "Data  :");
    std::string before = con.set_colour("W/N,W+/B,,,W/N");
    pc::Form f(con);
    f.add(pc::Get(12, 44, "NAZWA", [&] { return Value{name}; }, [&](const Value& v) { name = std::get<std::string>(v); }, "@!"));
    f.add(pc::Get(13, 44, "ILOSC", [&] { return Value{qty}; }, [&](const Value& v) { qty = std::get<Decimal>(v); },
                  "999999.99"));
    f.add(pc::Get(14, 44, "DATA", [&] { return Value{day}; }, [&](const Value& v) { day = std::get<Date>(v); }));
    pc::CursorShape shape = con.set_cursor_shape(pc::CursorShape::Normal);
    pc::ReadOutcome r = f.read();
    con.set_cursor_shape(shape);
    con.set_colour(before);
    con.restore(11, 34, 16, 78, under);
    if (r.escaped)
        show_result(con, "Formularz: anulowano");
    else
        show_result(con, "Formularz: " + name + "|" + qty.to_string(2) + "|" + day.dmy());
}

void browse(pc::Console& con) {
    std::vector<std::string> rows;
    for (int i = 1; i <= 200; ++i) {
        std::string n = std::to_string(i);
        rows.push_back("Towar " + std::string(3 - std::min<std::size_t>(3, n.size()), '0') + n);
    }
    long pos = 0;
    const long size = static_cast<long>(rows.size());
    pc::RowSource src;
    src.go_top = [&] { pos = 0; };
    src.go_bottom = [&] { pos = size - 1; };
    src.skip = [&](long n) {
        long target = std::max(0L, std::min(size - 1, pos + n));
        long moved = target - pos;
        pos = target;
        return moved;
    };
    src.eof = [&] { return pos >= size; };
    src.bof = [&] { return false; };
    src.bookmark = [&] { return pos; };
    src.go_to = [&](long p) { pos = p; };

    pc::ScreenImage under = con.save(2, 34, 19, 78);
    con.box(2, 34, 19, 78, "\xC9\xCD\xBB\xBA\xBC\xCD\xC8\xBA ");
    pc::Browse b(con, 3, 35, 18, 77, src);
    b.add_column({"Lp", [&] { return Value{Decimal(static_cast<int>(pos + 1))}; }, "999"});
    b.add_column({"Nazwa", [&] { return Value{rows[static_cast<std::size_t>(pos)]}; }});
    b.add_column({"Cena", [&] { return Value{Decimal(static_cast<int>(pos * 7 % 100))}; }, "999.99"});
    b.set_head_sep("\xC4\xC2\xC4");
    b.set_col_sep(" \xB3 ");
    b.set_colour_spec("W/N,N/W");
    std::string chosen;
    while (true) {
        b.stabilize();
        int k = con.inkey(pc::Wait::forever());
        switch (k) {
            case pc::K_ESC: break;
            case pc::K_ENTER: chosen = rows[static_cast<std::size_t>(pos)]; break;
            case pc::K_UP: b.up(); continue;
            case pc::K_DOWN: b.down(); continue;
            case pc::K_PGUP: b.page_up(); continue;
            case pc::K_PGDN: b.page_down(); continue;
            case pc::K_CTRL_PGUP: b.go_top(); continue;
            case pc::K_CTRL_PGDN: b.go_bottom(); continue;
            case pc::K_LEFT: b.left(); continue;
            case pc::K_RIGHT: b.right(); continue;
            default: continue;
        }
        break;
    }
    con.restore(2, 34, 19, 78, under);
    show_result(con, chosen.empty() ? "Nic nie wybrano" : "Wybrano: " + chosen);
}

void editor(pc::Console& con) {
    pc::ScreenImage under = con.save(2, 34, 12, 78);
    con.box(2, 34, 12, 78, pc::kBoxDoubleFill);
    con.out_at(12, 36, " Ctrl-W zapis, Esc rezygnacja ");
    pc::CursorShape shape = con.cursor_shape();
    pc::EditResult r = pc::memoedit(con, "", 3, 35, 11, 77, true);
    con.set_cursor_shape(shape);
    con.restore(2, 34, 12, 78, under);
    if (!r.saved) {
        show_result(con, "Edytor: bez zmian");
        return;
    }
    std::string first = r.text.substr(0, r.text.find_first_of("\r\n"));
    std::string hex = "cp852:";
    for (unsigned char c : first) {
        char buf[4];
        std::snprintf(buf, sizeof buf, " %02x", c);
        hex += buf;
    }
    show_result(con, "Zapisano: " + first, hex);
}

// Shows the name and code of every key until Esc: the key decoding seen from outside. Alt-X aborts
// the program on purpose, to show that the terminal is put back after a crash.
void key_viewer(pc::Console& con) {
    show_result(con, "Klawisze (Esc konczy, Alt-X przerywa program)");
    while (true) {
        int k = con.inkey(pc::Wait::forever(), false);
        if (k == pc::K_ESC) break;
        if (k == pc::K_ALT_X) std::abort();
        con.scroll(22, 0, 22, 79);
        con.out_at(22, 1, "Klawisz: " + pc::key_name(k) + " (" + std::to_string(k) + ")");
    }
}

}  // namespace

int main() {
    std::unique_ptr<pc::Backend> backend;
    try {
        backend = std::make_unique<pc::TerminalBackend>();
    } catch (const pc::TerminalError& e) {
        std::cerr << "console_demo: " << e.what() << "\n";
        return 1;
    }
    pc::Console con(std::move(backend), std::make_unique<pc::RealClock>());
    con.settings().wrap = true;
    con.settings().insert = true;
    con.set_cursor_shape(pc::CursorShape::None);
    con.set_end_handler([](int sig) {
        if (const char* f = std::getenv("CONSOLE_DEMO_END_FILE")) std::ofstream(f) << "koniec " << sig << "\n";
    });
    con.keyboard().set_key(pc::K_ALT_K, [&con] { hot_box(con); });

    draw_main(con);
    std::vector<pc::MenuItem> items = {
        {3, 2, " Lista miesiecy             ", ""}, {4, 2, " Formularz                  ", ""},
        {5, 2, " Przeglad listy             ", ""}, {6, 2, " Edytor tekstu              ", ""},
        {7, 2, " Klawisze                   ", ""}, {8, 2, " Koniec                     ", ""},
    };
    con.set_colour("W/N,W+/B");
    int choice = 1;
    while (true) {
        choice = pc::menu_to(con, items, choice);
        switch (choice) {
            case 1: months(con); break;
            case 2: form(con); break;
            case 3: browse(con); break;
            case 4: editor(con); break;
            case 5: key_viewer(con); break;
            default: return 0;
        }
        con.set_colour("W/N,W+/B");
    }
}
