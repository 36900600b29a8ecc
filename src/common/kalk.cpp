#include "common/kalk.h"

#include <algorithm>
#include <vector>

#include "common/console.h"
#include "common/forms.h"

namespace sklad {

namespace {

const Decimal kMax = *Decimal::parse("999999999999999");
const Decimal kMin = *Decimal::parse("-99999999999999");
constexpr int kWidth = 19;

// Digits in groups of three separated by blanks: "-1 234 567.25".
std::string grouped(const std::string& number) {
    if (number.find('*') != std::string::npos) return "*** *** *** *** ***";
    std::string sign, digits = number, frac;
    if (!digits.empty() && digits[0] == '-') sign = "-", digits.erase(0, 1);
    if (auto p = digits.find('.'); p != std::string::npos) frac = digits.substr(p), digits.erase(p);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
        out += digits[i];
    }
    return sign + out + frac;
}

std::string right(const std::string& s) {
    return s.size() >= kWidth ? s.substr(s.size() - kWidth) : std::string(kWidth - s.size(), ' ') + s;
}

// A result as the calculator shows it: 6 decimals at most, no trailing zeros; asterisks past its range.
std::string result_text(Decimal v, bool& overflow) {
    v = v.round(6);
    overflow = v > kMax || v < kMin;
    return overflow ? std::string(kWidth, '*') : v.to_plain();
}

class Calculator {
  public:
    Calculator(Decimal start, ScreenImage under) : first_(start), under_(std::move(under)) {
        bool overflow = false;
        entry_ = result_text(start, overflow);
    }

    // Runs until Esc; returns the value for the entry field.
    Decimal run() {
        redraw();
        for (;;) {
            show_entry();
            int k = INKEY(0);
            if (k == K_ESC) break;
            if (k == ',') k = '.';
            if ((k >= '0' && k <= '9') || k == '.') {
                digit(static_cast<char>(k));
            } else if (k == K_BS) {
                backspace();
            } else if (k == '+' || k == '-' || k == '*' || k == '/') {
                operation(static_cast<char>(k));
            } else if (k == '=' || k == K_ENTER) {
                equals();
            } else if (k == 'C' || k == 'c') {
                clear();
            } else if (k == 'M' || k == 'm') {
                M_KALK = (second() != Decimal() ? second() : first()).to_plain();
            } else if (k == 'N' || k == 'n') {
                if (!M_KALK.empty()) __KEYBOARD(std::string(1, static_cast<char>(K_ENTER)) + M_KALK);
                M_KALK = "";
            } else if (k == K_LEFT || k == K_RIGHT) {
                int x = std::clamp(LX_KALK + (k == K_LEFT ? -1 : 1), 1, 60);
                if (x != LX_KALK) {
                    LX_KALK = x;
                    redraw();
                }
            }
        }
        return second() != Decimal() ? second() : first();
    }

  private:
    std::string entry_;        // the number being entered, or the last result
    bool fresh_ = true;        // the next digit starts a new number
    bool negative_ = false;    // the number about to be typed gets a minus
    Decimal first_;
    char op_ = 0;
    std::vector<std::string> tape_;
    ScreenImage under_;        // the screen without the calculator

    Decimal value() const { return entry_.find('*') != std::string::npos ? Decimal() : Decimal::val(entry_); }
    Decimal second() const { return op_ && !fresh_ ? value() : Decimal(); }
    // Without a pending operation the number being typed is the first one.
    Decimal first() const { return !op_ && !fresh_ ? value() : first_; }
    int left() const { return LX_KALK - 1; }
    std::string colour() const { return ISCOLOR() ? "W+/B" : "W+/G"; }

    void redraw() {
        RESTSCREEN(under_);
        for (int r = 23; r <= 24; ++r) DISPOUTAT(r, left(), std::string(21, ' '), colour());
        DISPOUTAT(24, LX_KALK, "+ - * /  KALKULATOR", colour());
        draw_tape();
    }

    // The tape grows upwards from row 22; older lines scroll up and off the top of the screen.
    void draw_tape() {
        int row = 22;
        for (auto it = tape_.rbegin(); it != tape_.rend() && row >= 0; ++it, --row)
            DISPOUTAT(row, left(), *it, colour());
        if (tape_.empty()) DISPOUTAT(22, left(), std::string(21, ' '), colour());
    }

    void show_entry() {
        DISPOUTAT(23, LX_KALK, right(grouped(entry_)), "W+/RB");
        SETPOS(23, LX_KALK + kWidth - 1);
    }

    void tape(const std::string& number, char sign = ' ') {
        tape_.push_back(" " + right(number) + std::string(1, sign));
        if (tape_.size() > 23) tape_.erase(tape_.begin());
        draw_tape();
    }

    void digit(char c) {
        if (fresh_) {
            entry_ = negative_ ? "-0" : "0";
            fresh_ = false;
        }
        if (c == '.' && entry_.find('.') != std::string::npos) return;
        std::string next = entry_;
        if (c != '.' && (next == "0" || next == "-0"))
            next.back() = c;  // a lone zero is replaced
        else
            next += c;
        if (next.size() > kWidth || grouped(next).size() > kWidth) return;
        entry_ = next;
    }

    void backspace() {
        if (fresh_) return;
        entry_.pop_back();
        if (entry_.empty() || entry_ == "-") entry_ = "0";
    }

    void operation(char o) {
        if (!op_ && fresh_ && first_ == Decimal() && (o == '-' || o == '+')) {
            negative_ = o == '-';
            entry_ = negative_ ? "-0" : "0";
            return;
        }
        if (op_ && !fresh_) {
            compute();
        } else if (!op_) {
            first_ = value();
            tape(grouped(entry_));
        }
        op_ = o;
        negative_ = false;
        tape("", o);
        fresh_ = true;
    }

    void equals() {
        if (op_ && !fresh_) compute();
        op_ = 0;
        fresh_ = true;
        negative_ = false;
    }

    void compute() {
        Decimal b = value();
        tape(grouped(entry_));
        tape(std::string(kWidth, '-'));
        Decimal r;
        bool overflow = false;
        try {
            switch (op_) {
            case '+': r = first_ + b; break;
            case '-': r = first_ - b; break;
            case '*': r = first_ * b; break;
            default: r = b == Decimal() ? Decimal() : first_ / b; break;  // division by 0 gives 0
            }
            entry_ = result_text(r, overflow);
        } catch (const platform::DecimalOverflow&) {
            overflow = true;
            entry_ = std::string(kWidth, '*');
        }
        if (overflow) TONE(800, 1);
        first_ = overflow ? Decimal() : r.round(6);
        op_ = 0;
        tape(grouped(entry_));
        fresh_ = true;
    }

    void clear() {
        first_ = Decimal();
        op_ = 0;
        entry_ = "0";
        fresh_ = true;
        negative_ = false;
    }
};

}  // namespace

void KALK() {
    HotKeyRoutine self = SETKEY(K_ALT_K, {});  // not twice at once
    __KEYBOARD("");
    ScreenImage screen = SAVESCREEN();
    std::string colour = SETCOLOR();
    int row = ROW(), col = COL(), cursor = SETCURSOR(SC_NONE);

    Get* field = GETACTIVE();
    const bool numeric = field && field->type() == 'N';
    Decimal start;
    if (numeric) {
        if (auto b = field->buffer_value(); std::holds_alternative<Decimal>(b)) start = std::get<Decimal>(b);
        // A whole number from 1 to 19 is taken as a count in the field, not a value to work on.
        if (start.trunc(0) == start && start >= Decimal(1) && start <= Decimal(19)) start = Decimal();
    }

    Decimal result = Calculator(start, screen).run();

    RESTSCREEN(screen);
    SETCOLOR(colour);
    SETCURSOR(cursor);
    SETPOS(row, col);
    if (numeric) {
        field->var_put(result);
        field->update_buffer();
    }
    __KEYBOARD("");
    SETKEY(K_ALT_K, self);
}

}  // namespace sklad
