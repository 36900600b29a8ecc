#pragma once
// The form convention of record screens. A record's form is a set of session variables, one per
// field ("M_" + field name), and one or more form routines that create the entry fields over them
// (with __GET) and so show them at once. The same routines serve for display and for editing: to
// show, the fields are dropped after the routines ran (display colours); to edit, they are read
// in one modal read (editing colours).
//
// Saving writes what the operator changed, not what the form showed: FORM_READ remembers the
// values it put into the variables, and FORM_WRITE locks the record (which reads it again from
// the table), then writes only the fields whose variables differ from what was remembered. A
// counter, quantity or total that another workstation changed while the form was open is
// therefore left as that workstation wrote it, unless the operator changed that field too.
//
// All routines work on the selected table; a field the table lacks is passed over.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sklad {

// A form routine: creates (and so shows) its entry fields in the given colour string.
using FormRoutine = std::function<void(std::string_view colour)>;

// Creates the variables of the fields, blank, for a screen that opens (MEMVAR_NEW).
void FORM_NEW(const std::vector<std::string>& fields);
// Drops the variables a closing screen created (typed session variables stay).
void FORM_RELEASE(const std::vector<std::string>& fields);
// The current record into the variables; remembered as what the form shows.
void FORM_READ(const std::vector<std::string>& fields);
// Blanks, zeros, empty dates and false into the variables, for a new record.
void FORM_BLANK(const std::vector<std::string>& fields);
// Writes the changed variables to the current record under its lock, tried for `seconds`; false
// (nothing written) when it cannot be locked. A record other than the one FORM_READ read (one
// just appended) takes every field. The record is unlocked afterwards.
bool FORM_WRITE(const std::vector<std::string>& fields, double seconds);

// Shows the form in display colours: runs the routines, then drops their fields.
void FORM_SHOW(const std::vector<FormRoutine>& routines);
// Runs the routines in editing colours and reads their fields, cursor on; F1 opens the help of
// the field (HELP) during the read. True when a variable was changed; LASTKEY() tells Esc.
bool FORM_EDIT(const std::vector<FormRoutine>& routines);
// A pop-up parameter box: over a saved screen, the rectangle cleared and framed (single line,
// "R+/N"), the routines' fields read in the default colours, the screen restored. False when the
// read ended with Esc: the caller then does nothing.
bool FORM_BOX(int top, int left, int bottom, int right, const std::vector<FormRoutine>& routines);

}  // namespace sklad
