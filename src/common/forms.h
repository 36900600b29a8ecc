#pragma once
// Entry forms under the names the application's routines use. __GET creates a field on the
// pending list and shows it at once; READMODAL reads the pending list and empties it; CLEAR_GETS
// drops the list (and ends a running read), so a form routine serves for display and for editing.
//
// A read assigns each field's variable when the field is left; Esc puts back only the field being
// edited. READMODAL answers whether any variable was changed; callers tell a cancelled read by
// LASTKEY() == K_ESC. F1 and other hot keys are bound with SETKEY and run inside the read's waits;
// READVAR() names the variable being read (HELP picks its picker by it) and READKILL() from such a
// routine or from a VALID ends the read.

#include <functional>
#include <string>
#include <string_view>

#include "platform/console/get.h"
#include "platform/value/value.h"

namespace sklad {

using platform::console::Get;

// Positioned output of a value through a picture, to the screen or the printer as DEVOUT.
void DEVOUTPICT(const platform::Value& v, std::string_view picture, std::string_view colour = "");

// A field over a session variable (reached by name, see memvar.h); std::logic_error when there is
// no such variable. The field takes the current colour unless one is given. Returns the field, so a
// caller may set more of it.
Get& __GET(int row, int col, std::string_view var, std::string_view picture = "", std::function<bool()> valid = {},
           std::function<bool()> when = {}, std::string_view colour = "");
// A field over any variable, through a getter and a setter; `name` is what READVAR() gives.
Get& __GET(int row, int col, std::string_view name, Get::Getter getter, Get::Setter setter,
           std::string_view picture = "", std::function<bool()> valid = {}, std::function<bool()> when = {},
           std::string_view colour = "");

// Reads the pending fields from the `start`-th; the list is empty afterwards. True when a variable changed.
bool READMODAL(int start = 1);
// Whether the running read was asked to end; with true, asks it (and answers as before the call).
bool READKILL();
bool READKILL(bool kill);
// Ends the running read and drops the pending fields.
void CLEAR_GETS();
// The name of the variable being read, upper case; "" outside a read.
std::string READVAR();
// The field being read, nullptr outside a read (the calculator works on it).
Get* GETACTIVE();

}  // namespace sklad
