#pragma once
// Copying records between two open tables field by field, by field name. X is the target work
// area, Y the source; keys and conditions are evaluated on Y's current record.

#include "data/engine.h"

namespace sklad {

// X is emptied first unless `keep`; Y's records from the first that matches `seek` in Y's order,
// while `while_condition` holds, are appended to X (fields of the same name and type; a field
// RECNO_Y receives Y's record number). Nothing is copied when the seek fails.
bool APPEND_X_FROM_Y(int x, int y, const Value& seek, const Condition& while_condition, bool keep = false);
// As above, X always emptied, only records meeting `for_condition`, appended with ADD_REC(10);
// the caller's area and record are restored afterwards.
bool APP_X_FROM_Y(int x, int y, const Value& seek, const Condition& while_condition, const Condition& for_condition);
// Every record of Y meeting `for_condition` appended to X; X emptied first unless `keep`.
bool _APPEND_X_FROM_Y(int x, int y, const Condition& for_condition, bool keep = false);
// Each record of Y updates the record of X with the same key (`key` evaluated on Y, sought in X's
// order), or a new one: texts, dates and logicals only when Y's are not empty, numbers always.
bool UPDATE_X_FROM_Y(int x, int y, std::string_view key);
// As above, but a new record takes every non-empty field and an existing one only the numbers.
bool UPDATE0_X_FROM_Y(int x, int y, std::string_view key);
// X rewritten in place with Y's live records meeting `condition`, reusing X's records in
// natural order; X's records past the last one written are deleted.
bool ZAMIEN_X_FROM_Y(int x, int y, const Condition& condition = {});

}  // namespace sklad
