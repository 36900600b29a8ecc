#pragma once
// The pop-up calculator on Alt-K, from any wait of any screen. Opened on a numeric entry field it
// starts from the field's value and writes its result back into the field when closed.

#include <string>

#include "common/memvar.h"

namespace sklad {

SESSION_VAR(std::string, M_KALK, "");  // the calculator's memory, "" when empty
SESSION_VAR(int, LX_KALK, 60);         // left column of the calculator, kept between calls

void KALK();

}  // namespace sklad
