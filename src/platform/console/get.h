#pragma once
// One entry field of a form: where it stands, the variable it edits (through a getter and a setter),
// its picture, its WHEN and VALID callbacks and its colour. While it has the focus it keeps an edit
// buffer that the keys change; the variable is written only by assign(), which the read does when
// the field is left.

#include <functional>
#include <string>
#include <vector>

#include "platform/console/picture.h"
#include "platform/value/value.h"

namespace platform::console {

class Get {
  public:
    using Getter = std::function<Value()>;
    using Setter = std::function<void(const Value&)>;

    Get(int row, int col, std::string name, Getter getter, Setter setter, std::string picture = "",
        std::string colour = "");

    int row = 0;
    int col = 0;
    std::string name;       // the variable's name, as READVAR gives it
    std::string colour;     // colour string; the read falls back to the console's current one
    std::function<bool()> when;   // may the field be entered? (empty: yes)
    std::function<bool()> valid;  // may it be left? runs after the new value is assigned (empty: yes)

    const std::string& picture_text() const { return picture_text_; }
    const Picture& picture() const { return picture_; }
    Value var_get() const { return getter_ ? getter_() : Value{}; }
    void var_put(const Value& v) const {
        if (setter_) setter_(v);
    }

    // ---- editing (only while it has the focus)
    void set_focus();
    void kill_focus();
    bool has_focus() const { return focus_; }

    // A typed character; false when the template refuses it or the field is already typed out.
    bool type_char(char c, bool insert);
    void left();
    void right();
    void home();
    void end();
    void del();
    void backspace();
    void del_end();     // blanks from the cursor to the end
    void to_dec_pos();  // numbers: integer part right-aligned, cursor to the first decimal
    // The editing keys of a field: characters, Left, Right, Home, End, Del, Backspace, Ctrl-Y.
    // False for any other key (those move between fields or end the read).
    bool edit_key(int key, bool insert);

    bool changed() const { return changed_; }
    // The last position was typed over: the read leaves the field unless confirm mode is on.
    bool type_out() const { return type_out_; }
    // The buffer does not make a value (an impossible date, a number that overflowed).
    bool bad_input() const;
    // The value the buffer stands for (the variable's value when the buffer is bad).
    Value buffer_value() const;
    // Writes the buffer into the variable (nothing when the buffer is bad).
    void assign();
    // Puts back the value the variable had when the focus came, and the buffer with it.
    void undo();
    // Reloads the buffer from the variable (after a hot key changed it); the cursor stays.
    void update_buffer();
    // Reloads the buffer from the variable and starts editing afresh from the first position.
    void reset();

    // ---- display
    // The text the field shows now: the buffer while it has the focus, the formatted variable otherwise,
    // cut to the @S window.
    std::string text() const;
    // Column of the cursor inside text().
    int cursor_offset() const { return pos_ - offset_; }
    char type() const { return type_; }  // 'C', 'N', 'D', 'L'; 'U' for a variable without a value

  private:
    Getter getter_;
    Setter setter_;
    std::string picture_text_;
    Picture picture_;

    bool focus_ = false;
    char type_ = 'U';
    Value original_;
    std::string mask_;    // the edit template
    std::string buffer_;  // what is typed, literals included
    std::vector<int> slots_;  // buffer positions a key can type into
    int pos_ = 0;
    int offset_ = 0;      // first buffer position shown in an @S window
    int dot_ = -1;        // position of the decimal point of a number, -1 when none
    bool changed_ = false;
    bool type_out_ = false;
    bool clear_pending_ = false;

    void load_buffer(const Value& v);
    int slot_index(int pos) const;  // index in slots_ of a buffer position, -1 when not a slot
    // First and one-past-last slot index of the section the cursor is in (numbers: integer or decimal part).
    std::pair<int, int> section(int pos) const;
    void move_to_slot(int index);
    void clear_slots();
    void touched();  // any key but a typed character ends the first-key clearing
};

}  // namespace platform::console
