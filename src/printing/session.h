#pragma once
// Session variables of printing that no other subsystem owns. The printer kind M_DRUKARKA and
// the mail server M_SMTP come with the operator (operators/rights.h).

#include <string>

#include "common/memvar.h"
#include "operators/rights.h"

namespace sklad {

// The parallel port chosen at the printer prompt: "LPT1" or "LPT2".
SESSION_VAR(std::string, M_LPT, "LPT1");

}  // namespace sklad
