#include "platform/console/form.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "platform/console/console_fixture.h"

namespace platform::console {
namespace {

Decimal num(const char* s) { return *Decimal::parse(s); }

Get bind(int row, int col, std::string name, Value& var, std::string picture = "") {
    return Get(row, col, std::move(name), [&var] { return var; }, [&var](const Value& v) { var = v; },
               std::move(picture));
}

class FormTest : public testing::ConsoleTest {
  protected:
    Form form{con()};
    void SetUp() override { con().set_colour("W/N,N/W,,,W+/N"); }
};

TEST_F(FormTest, FieldsWithPicturesAndValidation) {
    Value name = std::string(10, ' '), qty = num("0"), post = std::string(6, ' '), day = Date::from_ymd(2024, 1, 15);
    int qty_checks = 0;
    form.add(bind(2, 10, "NAZWA", name, "@!"));
    form.add(bind(3, 10, "ILOSC", qty, "999999.99")).valid = [&] {
        ++qty_checks;
        return std::get<Decimal>(qty) > Decimal(0);
    };
    form.add(bind(4, 10, "KOD", post, "99-999"));
    form.add(bind(5, 10, "DATA", day));
    EXPECT_EQ(hc.row_trimmed(3), std::string(10, ' ') + "     0.00");

    // A zero quantity is refused and the cursor stays; a full field is left by itself (confirm off),
    // and typing the last field full ends the read.
    hc.type("kowalski");
    hc.keys("Enter");
    hc.type("0");
    hc.keys("Enter");
    hc.type("12.5");
    hc.keys("Enter");
    hc.type("12345");
    hc.type("01022024");
    ReadOutcome r = form.read();

    EXPECT_TRUE(r.updated);
    EXPECT_FALSE(r.escaped);
    EXPECT_EQ(qty_checks, 2);
    EXPECT_EQ(std::get<std::string>(name), "KOWALSKI  ");
    EXPECT_EQ(std::get<Decimal>(qty), num("12.5"));
    EXPECT_EQ(std::get<std::string>(post), "12-345");
    EXPECT_EQ(std::get<Date>(day), Date::from_ymd(2024, 2, 1));
    EXPECT_EQ(hc.row_trimmed(2), "          KOWALSKI");
    EXPECT_EQ(hc.row_trimmed(3), std::string(10, ' ') + "    12.50");
    EXPECT_EQ(hc.row_trimmed(4), "          12-345");
    EXPECT_EQ(hc.row_trimmed(5), "          01.02.2024");
    EXPECT_EQ(hc.colour(3, 10), "W+/N");
}

TEST_F(FormTest, EscapeUndoesOnlyTheFieldBeingEdited) {
    Value name = std::string(5, ' '), qty = num("3");
    form.add(bind(0, 0, "A", name));
    form.add(bind(1, 0, "B", qty, "999"));
    hc.type("abc");
    hc.keys("Enter");
    hc.type("5");
    hc.keys("Esc");
    ReadOutcome r = form.read();
    EXPECT_TRUE(r.escaped);
    EXPECT_EQ(con().lastkey(), K_ESC);
    EXPECT_EQ(std::get<std::string>(name), "abc  ");  // left with Enter before Esc: kept
    EXPECT_EQ(std::get<Decimal>(qty), num("3"));
    EXPECT_EQ(hc.row_trimmed(1), "  3");
}

TEST_F(FormTest, HotKeySeesTypedValueAndItsChangeIsShown) {
    Value name = std::string(5, ' '), qty = num("5");
    form.add(bind(0, 0, "M_NAZWA", name));
    form.add(bind(1, 0, "M_ILOSC", qty, "99999.99"));
    std::string seen_var, active_colour, other_colour;
    Decimal seen_qty;
    con().keyboard().set_key(K_F2, [&] {
        seen_var = form.active()->name;
        seen_qty = std::get<Decimal>(qty);
        active_colour = hc.colour(1, 0);
        other_colour = hc.colour(0, 0);
        qty = num("36");
    });
    hc.keys("Enter");
    hc.type("7");
    hc.keys("F2");
    hc.keys("Enter");
    form.read();
    EXPECT_EQ(seen_var, "M_ILOSC");
    EXPECT_EQ(seen_qty, num("7"));
    EXPECT_EQ(active_colour, "N/W");
    EXPECT_EQ(other_colour, "W+/N");
    EXPECT_EQ(std::get<Decimal>(qty), num("36"));
    EXPECT_EQ(hc.row_trimmed(1), "   36.00");
    EXPECT_TRUE(con().keyboard().get_key(K_F2)) << "the hot key stays bound";
}

TEST_F(FormTest, MovesBetweenFieldsPassingOverRefusedOnes) {
    Value a = std::string("a"), b = std::string("b"), c = std::string("c");
    std::string left;
    auto log = [&](const char* n) {
        return [&left, n] {
            left += n;
            return true;
        };
    };
    form.add(bind(0, 0, "A", a)).valid = log("A");
    Get& gb = form.add(bind(1, 0, "B", b));
    gb.valid = log("B");
    gb.when = [] { return false; };
    form.add(bind(2, 0, "C", c)).valid = log("C");
    // Enter skips B; Up from C skips B back to A; Up on the first field stays; Down, Down stays on C; PgDn ends.
    hc.keys("Enter Up Up Down Down PgDn");
    form.read();
    EXPECT_EQ(left, "ACAACC");
}

TEST_F(FormTest, ConfirmModeAndInsertMode) {
    con().settings().confirm = true;
    Value a = std::string("ab"), b = std::string("abc");
    form.add(bind(0, 0, "A", a));
    form.add(bind(1, 0, "B", b));
    hc.type("xyz");  // the field is full after "xy": it is not left, and "z" is refused
    hc.keys("Enter Ins");
    hc.type("Q");
    hc.keys("Enter");
    form.read();
    EXPECT_EQ(std::get<std::string>(a), "xy");
    EXPECT_EQ(std::get<std::string>(b), "Qab");
    EXPECT_TRUE(con().settings().insert);
}

TEST_F(FormTest, ImpossibleDateKeepsTheCursorInTheField) {
    Value day = Date::from_ymd(2024, 1, 15);
    form.add(bind(0, 0, "D", day));
    hc.type("31022024");  // typed out, but 31.02 does not exist
    hc.keys("Home");
    hc.type("28");
    hc.keys("Enter");
    form.read();
    EXPECT_EQ(std::get<Date>(day), Date::from_ymd(2024, 2, 28));
}

TEST_F(FormTest, NumberTooWideForItsPictureCanBeLeftUntouched) {
    Value n = num("12345"), m = num("1");
    form.add(bind(0, 0, "N", n, "999"));
    form.add(bind(1, 0, "M", m, "999"));
    EXPECT_EQ(hc.text(0, 0, 3), "***");
    hc.keys("Enter");
    hc.type("5");
    hc.keys("Enter");
    form.read();
    EXPECT_EQ(std::get<Decimal>(n), num("12345"));
    EXPECT_EQ(std::get<Decimal>(m), num("5"));
}

TEST_F(FormTest, ReadKillEndsTheRead) {
    Value a = std::string("a"), b = std::string("b");
    // From a VALID: the field is assigned, the next one is never entered.
    form.add(bind(0, 0, "A", a)).valid = [&] {
        form.kill();
        return true;
    };
    form.add(bind(1, 0, "B", b)).when = [] {
        ADD_FAILURE() << "B entered after the read was killed";
        return true;
    };
    hc.type("x");  // fills the field, which is left at once
    form.read();
    EXPECT_EQ(std::get<std::string>(a), "x");

    // From a hot key bound for the read's duration (Up on the first field ends a prompt).
    Form prompt(con());
    prompt.add(bind(3, 0, "P", b));
    con().keyboard().set_key(K_UP, [&] { prompt.kill(); });
    hc.keys("Up");
    ReadOutcome r = prompt.read();
    EXPECT_FALSE(r.escaped);
    EXPECT_EQ(hc.backend().pending(), 0u);
}

}  // namespace
}  // namespace platform::console
