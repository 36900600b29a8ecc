#pragma once
// A fresh working folder with an operator table, on a headless console that also remembers every
// message window it showed. Keys are pushed as in the console tests; a message window waits one
// second for a key, so a test gives it a pause before the next keys.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/console.h"
#include "data/access.h"
#include "data/engine.h"
#include "data/layouts.h"
#include "data/session.h"
#include "operators/operators.h"
#include "platform/console/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless.h"
#include "platform/console/keys.h"
#include "platform/table/table.h"
#include "platform/table/workarea_fixture.h"
#include "platform/text/cp852.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/workstation.h"

namespace sklad::testing {

namespace pc = platform::console;
namespace table = platform::table;
using platform::text::from_utf8;
using platform::text::to_utf8;

// The headless backend, remembering the text of each message window (a double frame from row
// 15, column 30; its text on row 17) once per showing.
class RecordingBackend final : public pc::Backend {
  public:
    pc::HeadlessBackend queue;

    void present(const pc::Screen& s, const pc::CursorState& c) override {
        queue.present(s, c);
        if (static_cast<unsigned char>(s.at(15, 30).ch) != 0xC9) {
            last_.clear();
            return;
        }
        std::string text = to_utf8(s.row_bytes(17).substr(31, 41));
        text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
        text.erase(text.find_last_not_of(' ') + 1);
        if (!text.empty() && text != last_) messages.push_back(text);
        last_ = text;
    }
    pc::ReadResult read_key(pc::Clock& clock, std::optional<pc::Millis> wait) override {
        return queue.read_key(clock, wait);
    }
    void tone(double frequency, double duration) override { queue.tone(frequency, duration); }

    std::vector<std::string> messages;

  private:
    std::string last_;
};

struct Operator {
    std::string nr;
    std::string name;
    std::string password;  // plain; stored scrambled
    std::string rights = "";
    std::string profile = "";
    std::string printer = "";
    std::string extras = "";
};

class OperatorTest : public ::testing::Test {
  protected:
    table_fixture::ScratchFolder folder{true};
    RecordingBackend* backend = nullptr;
    pc::VirtualClock* clock = nullptr;
    std::unique_ptr<pc::Console> console;

    void SetUp() override {
        auto b = std::make_unique<RecordingBackend>();
        auto c = std::make_unique<pc::VirtualClock>(platform::Date::from_ymd(2024, 1, 15), 8);
        backend = b.get();
        clock = c.get();
        console = std::make_unique<pc::Console>(std::move(b), std::move(c));
        INSTALL_CONSOLE(console.get());
        reset_session();
    }
    void TearDown() override {
        reset_session();
        INSTALL_CONSOLE(nullptr);
    }

    static void reset_session() {
        RESET_WORKAREAS();
        PARAMETRY_DOMYSLNE();
        LJ_DF_NAZWA = "";
        M_NR = " ";
        M_NAZWISKO = std::string(30, ' ');
        M_PRAWA = std::string(20, ' ');
        M_PRAWA1 = std::string(20, 'N');
        M_PRAWA2 = "";
        M_DRUKARKA = "EPSON";
        M_SMTP = "";
        TOJESTKASA = false;
        JEST_DF_300 = false;
        M_BOSS0 = "TUMP";
        L_BOSS0 = "####";
        GDZIE_WAGA = "";
        PIERWSZE_WEJSCIE = false;
        STACJA = 1;
        STACJA_ZAJETA = false;
    }

    // ---- keys and screen
    void keys(std::string_view names) {
        std::size_t i = 0;
        while (i < names.size()) {
            while (i < names.size() && names[i] == ' ') ++i;
            std::size_t j = names.find(' ', i);
            if (j == std::string_view::npos) j = names.size();
            if (j > i) {
                const auto k = pc::key_from_name(names.substr(i, j - i));
                if (!k) throw std::invalid_argument("unknown key " + std::string(names.substr(i, j - i)));
                backend->queue.push_key(*k);
            }
            i = j;
        }
    }
    void type(std::string_view utf8) {
        for (char c : from_utf8(utf8)) backend->queue.push_key(static_cast<unsigned char>(c));
    }
    // No key for this long: a message window runs out.
    void pause(double seconds = 1) { backend->queue.push_pause(pc::seconds_to_millis(seconds)); }
    std::string row(int r) const {
        std::string s = to_utf8(console->screen().row_bytes(r));
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    }
    std::string colour(int r, int c) const { return pc::colour_name(console->screen().at(r, c).attr); }
    const std::vector<std::string>& messages() const { return backend->messages; }
    bool shown(const std::string& text) const {
        for (const std::string& m : messages())
            if (m == text) return true;
        return false;
    }
    std::size_t tones() const { return backend->queue.tones().size(); }
    double waited() const { return std::chrono::duration<double>(clock->elapsed()).count(); }

    // ---- tables
    static std::string pad(std::string s, std::size_t n) {
        s.resize(n, ' ');
        return s;
    }
    // prawa in the current layout (or `structure`) with the operators in this order.
    static void make_prawa(const std::vector<Operator>& ops, const std::string& structure = "") {
        ASSERT_TRUE(TWORZ(structure.empty() ? STRUKTURA_PRAWA("prawa") : structure, true, 1));
        table::Table t("prawa.dbf", table::OpenMode::Exclusive);
        for (const Operator& o : ops) {
            ASSERT_TRUE(t.append_blank());
            auto put = [&](const char* field, const std::string& value) {
                const int i = t.field_index(field);
                if (i >= 0 && t.fields()[static_cast<std::size_t>(i)].type == FieldType::Character)
                    t.put(field, Value(value));
            };
            put("NR", o.nr);
            put("NAZWISKO", from_utf8(o.name));
            put("HASLO", MOJ_ENCODE(pad(o.password, 10)));
            put("PRAWA", o.rights);
            put("PRAWA1", o.profile);
            put("DRUKARKA", o.printer);
            put("PRAWA2", o.extras);
        }
        t.commit();
    }
    // A field of operator `nr` as the file holds it now (trailing blanks removed).
    static std::string stored(const std::string& nr, const char* field) {
        table::Table t("prawa.dbf", table::OpenMode::ReadOnly);
        for (t.go_top(); !t.eof(); t.skip(1))
            if (std::get<std::string>(t.get("NR")) == nr) {
                std::string v = std::get<std::string>(t.get(field));
                v.erase(v.find_last_not_of(' ') + 1);
                return v;
            }
        return "<none>";
    }
    static std::string stored_password(const std::string& nr) {
        table::Table t("prawa.dbf", table::OpenMode::ReadOnly);
        for (t.go_top(); !t.eof(); t.skip(1))
            if (std::get<std::string>(t.get("NR")) == nr) return MOJ_DECODE(std::get<std::string>(t.get("HASLO")), 10);
        return "<none>";
    }
    // The firm table open shared in area 1, this copy registered on workstation `stacja`.
    static void open_firm(int stacja = 2) {
        ASSERT_TRUE(TWORZ(STRUKTURA_FIRMA("firma", 30), true, 1));
        {
            table::Table t("firma.dbf", table::OpenMode::Exclusive);
            ASSERT_TRUE(t.append_blank());
            t.put("ST", Value("??" + std::string(28, '0')));
            t.put("BMR", Value(std::string("01.24")));
            t.commit();
        }
        DBSELECTAREA(1);
        ASSERT_TRUE(NET_USE("firma", "firma", false, 1));
        STACJA = stacja;
        STACJA_ZAJETA = true;
    }
    static std::string firm_field(const char* name) {
        table::Table t("firma.dbf", table::OpenMode::ReadOnly);
        t.go_top();
        return std::get<std::string>(t.get(name));
    }
};

}  // namespace sklad::testing
