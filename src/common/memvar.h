#pragma once
// Session variables by name. The program's session variables are ordinary typed C++ globals,
// declared once with SESSION_VAR; each also registers under its name, so that expressions typed
// as text (filters, list columns), the settings file and screens that create variables at run time
// ("M_" + field name) reach them by name. Names are case-insensitive.

#include <optional>
#include <string>
#include <string_view>

#include "platform/value/value.h"

namespace sklad {

using platform::Date;
using platform::Decimal;
using platform::Value;

// Registers a typed global under `name`; returns true so it can initialise a static.
bool register_memvar(std::string_view name, std::string* var);
bool register_memvar(std::string_view name, Decimal* var);
bool register_memvar(std::string_view name, Date* var);
bool register_memvar(std::string_view name, bool* var);
bool register_memvar(std::string_view name, int* var);
bool register_memvar(std::string_view name, long long* var);

// Value of a variable (typed global or one created at run time); nullopt when there is none.
std::optional<Value> MEMVAR_GET(std::string_view name);
// Assigns an existing variable, converting numbers to the global's type; false when there is none
// or the type does not fit (text into a number...).
bool MEMVAR_PUT(std::string_view name, const Value& v);
// Creates (or resets) a run-time variable; a typed global of the same name is assigned instead.
void MEMVAR_NEW(std::string_view name, const Value& v);
// Drops a run-time variable; typed globals stay.
void MEMVAR_RELEASE(std::string_view name);
bool MEMVAR_EXISTS(std::string_view name);

}  // namespace sklad

// Declares a session variable with its starting value, in a header, once.
#define SESSION_VAR(type, name, init)                                                        \
    inline type name = init;                                                                 \
    inline const bool name##_registered_ = ::sklad::register_memvar(#name, &name)
