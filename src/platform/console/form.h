#pragma once
// A form: a list of entry fields read as one modal read.
//
// Keys: Enter, Down and Tab go to the next field, Up and Shift-Tab to the one before (Up on the
// first and Down on the last stay where they are); Enter on the last field, PgDn, PgUp and Ctrl-W
// end the read; Ctrl-Home goes to the first field; Esc ends it as cancelled; Ins toggles insert
// mode. With confirm mode off a field that is typed full is left as with Enter.
//
// A field's variable is written when the field is left (before its VALID runs, so VALID sees the
// new value); a VALID answering false keeps the cursor in the field. Esc puts back the value the
// field being edited had when it was entered; fields left before keep what was typed into them,
// and the caller looks at the last key to tell a cancelled read. A field whose WHEN answers false
// is passed over in the direction of travel.
//
// Hot keys (set_key) run from the read's key waits: the field's typed value is assigned first so
// the routine sees it, and afterwards every field is shown again from its variable. A routine (or
// a VALID or WHEN) may call kill() to end the read.

#include <deque>

#include "platform/console/console.h"
#include "platform/console/get.h"

namespace platform::console {

struct ReadOutcome {
    bool updated = false;  // some field's variable was changed by the read
    bool escaped = false;  // ended by Esc
};

class Form {
  public:
    explicit Form(Console& console) : console_(&console) {}

    // Adds a field and shows it at once (out of focus) from its variable.
    Get& add(Get g);
    std::deque<Get>& gets() { return gets_; }
    bool empty() const { return gets_.empty(); }
    // Drops the fields; during a read, the read ends and they go when it returns.
    void clear();

    // Reads the fields, starting with the `start`-th (1-based).
    ReadOutcome read(int start = 1);

    // Ends the running read once the key being handled is done.
    void kill() { killed_ = true; }
    bool killed() const { return killed_; }
    // The field being edited, nullptr outside a read.
    Get* active() { return active_; }
    const Get* active() const { return active_; }

    // Shows a field in its colour: enhanced while it has the focus, unselected otherwise.
    void show(const Get& g);
    void show_all();

  private:
    enum class Exit { None, Up, Down, Enter, Write, Escape, Top, Kill };

    Console* console_;
    std::deque<Get> gets_;  // a deque: fields added during a read do not move the one being edited
    Get* active_ = nullptr;
    bool reading_ = false;
    bool killed_ = false;
    bool clear_after_ = false;
    bool updated_ = false;

    Exit edit(Get& g);
    int wait_key(Get& g);
    bool post_validate(Get& g);
    void place_cursor(const Get& g);
};

}  // namespace platform::console
