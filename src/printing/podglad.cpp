#include "printing/podglad.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/dialogs.h"
#include "common/format.h"
#include "common/forms.h"
#include "common/kalk.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/session.h"
#include "printing/drukarka.h"
#include "printing/kody.h"
#include "printing/pliki.h"
#include "printing/poczta.h"
#include "printing/pytania.h"
#include "printing/tekst.h"

namespace sklad {

namespace {

constexpr int kMaxOffset = 800;

struct View {
    std::string file;
    std::string bytes;
    std::vector<Wiersz> lines;
    int rows = 24;
    std::size_t top = 0;
    int offset = 0;

    std::size_t last_top() const { return lines.size() > static_cast<std::size_t>(rows) ? lines.size() - rows : 0; }
    std::string_view line(std::size_t i) const {
        return std::string_view(bytes).substr(lines[i].start, lines[i].length);
    }

    void draw() const {
        DISPBEGIN();
        for (int r = 0; r < rows; ++r) {
            std::string text;
            std::size_t i = top + static_cast<std::size_t>(r);
            if (i < lines.size()) {
                std::string_view l = line(i);
                if (static_cast<std::size_t>(offset) < l.size()) text = l.substr(static_cast<std::size_t>(offset), 80);
            }
            text.resize(80, ' ');
            DISPOUTAT(r, 0, text, "N/W");
        }
        std::string name = file.substr(0, 23);
        name.resize(23, ' ');
        DISPOUTAT(24, 0, name + "Keys: ^V<> PgUp PgDn     F5-Druk (Alt_F5)     Esc-Wyjscie");
        DISPEND();
    }
};

// The file the partial printouts are copied into: the spool name without its last character.
std::string part_file(const std::string& spool) { return spool.substr(0, spool.size() - 1); }

// Alt-F5: from the first line that begins with one text through the first later line that
// begins with the other (trimmed, upper case); a text that matches nothing, or none given, leaves
// the range open at that end.
void print_range(View& v) {
    DISPOUTAT(24, 0, std::string(80, ' '));
    std::string from_text(20, ' '), to_text(20, ' ');
    const int cursor = SETCURSOR(SC_NORMAL);
    DISPOUTAT(24, 0, "Druk od wiersza :");
    __GET(24, 18, "OD", [&] { return platform::Value(from_text); },
          [&](const platform::Value& x) { from_text = std::get<std::string>(x); }, "@!");
    DISPOUTAT(24, 39, "     do wiersza :");
    __GET(24, 57, "DO", [&] { return platform::Value(to_text); },
          [&](const platform::Value& x) { to_text = std::get<std::string>(x); }, "@!");
    READMODAL();
    SETCURSOR(cursor);
    if (LASTKEY() == K_ESC) return;
    const std::string a = ALLTRIM(from_text), b = ALLTRIM(to_text);
    auto begins = [&](std::size_t i, const std::string& t) { return UPPER(ALLTRIM(v.line(i))).starts_with(t); };
    std::size_t first = 0, last = v.lines.size() ? v.lines.size() - 1 : 0;
    if (!a.empty())
        for (std::size_t i = 0; i < v.lines.size(); ++i)
            if (begins(i, a)) {
                first = i;
                break;
            }
    if (!b.empty())
        for (std::size_t i = first + 1; i < v.lines.size(); ++i)
            if (begins(i, b)) {
                last = i;
                break;
            }
    if (JEST_PCL()) {
        FILETOPRINTER(v.file, platform::Decimal(static_cast<long long>(first + 1)).str(6, 0),
                      platform::Decimal(static_cast<long long>(last + 1)).str(6, 0));
        return;
    }
    std::string part = ESCP_ODSTEP(' ') + ESCP_TRYB('\x05');
    if (!v.lines.empty())
        part += v.bytes.substr(v.lines[first].start, v.lines[last].next - v.lines[first].start);
    const std::string copy = part_file(v.file);
    if (MEMOWRIT(copy, part)) FILETOPRINTER(copy);
}

// Ctrl-F5: the normal font and a number of empty lines before the whole printout.
void print_after_blank_lines(View& v) {
    std::string count = PYTAJ(24, 0, "ILE zrobic pustych wierszy:", "  ", 2);
    if (LASTKEY() == K_ESC) return;
    std::string text = FONT_NORMALNY();
    for (long i = 0; i < std::clamp(VAL(count), 0L, 99L); ++i) text += "\r\n";
    const std::string copy = part_file(v.file);
    if (MEMOWRIT(copy, text + v.bytes)) FILETOPRINTER(copy);
}

// The name typed for a copy, or "" after saying why nothing is copied.
std::string copy_name(std::string_view prompt, int width) {
    std::string name = PYTAJ(24, 0, prompt, "", width);
    if (name.empty()) _OKNO_(LASTKEY() == K_ENTER ? "Nie kopiuje (nie podano pliku)" : "Nie kopiuje (brak Enter)");
    return name;
}

void copy_to_text(View& v) {
    std::string name = copy_name("Skopiowac do pliku TXT:", 50);
    if (name.empty()) return;
    std::string file = PLIK_EKSPORTU("TXT", name, ".TXT");
    if (file.empty()) return;
    if (MEMOWRIT(file, v.bytes))
        _OKNO_("Skopiowano do " + file);
    else
        _OKNO_("Nie kopiuje " + file, 3);
}

void copy_table() {
    if (!USED()) {
        _OKNO_("Brak bazy");
        return;
    }
    std::string name = copy_name("Kopiowac do pliku DBF:", 50);
    if (name.empty()) return;
    std::string file = PLIK_EKSPORTU("DBF", name, ".dbf");
    if (file.empty()) return;
    const long recno = RECNO();
    __DBCOPY(file);
    DBGOTO(recno);
    _OKNO_("Skopiowano do " + file);
}

void edit_copy(View& v) {
    const std::string file = "TXT\\wydruk" + STR2(STACJA) + ".TXT";
    if (!MEMOWRIT(file, v.bytes)) {
        _OKNO_("Nie kopiuje " + file, 3);
        return;
    }
    MEMOEDIT_FILE(SCIEZKA(file).string());
}

}  // namespace

void READTEXT(std::string_view file) {
    View v;
    v.file = std::string(file);
    v.bytes = MEMOREAD(file).value_or("");
    v.lines = WIERSZE(v.bytes);
    std::string base = UPPER(file.substr(file.find_last_of("\\/") == std::string_view::npos
                                             ? 0
                                             : file.find_last_of("\\/") + 1));
    if (base == "POMOC.TXT") v.rows = 23;

    const ScreenImage screen = SAVESCREEN();
    const std::string colour = SETCOLOR();
    const int cursor = SETCURSOR(SC_NONE);
    for (bool done = false; !done;) {
        v.draw();
        const int key = INKEY(0);
        switch (key) {
            case K_UP: v.top = v.top > 0 ? v.top - 1 : 0; break;
            case K_PGUP: v.top = v.top > static_cast<std::size_t>(v.rows) ? v.top - v.rows : 0; break;
            case K_DOWN: v.top = std::min(v.top + 1, v.last_top()); break;
            case K_PGDN: v.top = std::min(v.top + v.rows, v.last_top()); break;
            case K_CTRL_PGUP: v.top = 0; break;
            case K_CTRL_PGDN: v.top = v.last_top(); break;
            case K_RIGHT: v.offset = std::min(v.offset + 8, kMaxOffset); break;
            case K_LEFT: v.offset = std::max(v.offset - 8, 0); break;
            case K_END: v.offset = std::min(v.offset + 40, kMaxOffset); break;
            case K_HOME: v.offset = std::max(v.offset - 40, 0); break;
            case K_ENTER: v.offset = 0; break;
            case K_F5:
                if (DRUKOWAC()) FILETOPRINTER(v.file);
                v.top = 0;
                break;
            case K_ALT_F5:
                print_range(v);
                v.top = 0;
                break;
            case K_CTRL_F5:
                print_after_blank_lines(v);
                v.top = 0;
                break;
            case K_ALT_K: KALK(); break;
            case K_ALT_P:
                if (FILE_X("PDF.TXT")) done = MEMOWRIT("pdf" + STR2(STACJA) + ".txt", v.bytes);
                break;
            case K_ALT_E:
                if (POCZTA_DOSTEPNA()) done = POCZTA_WYDRUKU(v.file);
                break;
            case K_ALT_W: edit_copy(v); break;
            case K_ALT_T: copy_to_text(v); break;
            case K_ALT_B: copy_table(); break;
            case K_ESC: done = true; break;
            default: break;
        }
    }
    SETCURSOR(cursor);
    SETCOLOR(colour);
    RESTSCREEN(screen);
}

}  // namespace sklad
