#pragma once
// Bulk routines over a work area: copy records to a new table, append another table's records
// by field name, and totals by key. Records hidden by the area's filter or as deleted are left
// out, as the scan of the scope does.
//
// A number that does not fit the field it goes to stops the routine with FieldError naming the
// field and the record, rather than being stored as stars that read back as nothing.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/table/workarea.h"

namespace platform::table {

// Copies the records in scope of `area` to a new table at `target` (replaced when it exists):
// every field, or the fields named, in the order named (FieldError for an unknown name).
// Returns how many records were copied. The area ends where the scope ended.
uint64_t copy_to(WorkAreas& areas, const std::filesystem::path& target, const std::vector<std::string>& fields = {},
                 const Scope& scope = {}, int area = 0);

// Appends to `area` the records of the table at `source`, opened read-only in a free area that
// is selected while the scope is made and scanned, so conditions read the source's fields;
// `make_scope` receives that area's number (empty: every record). Fields are matched by name
// (only those named, when a list is given); types must agree: C is cut or padded, N is
// rounded to the target's decimals, D and L copy; a field of another type is left blank.
// The target's indexes are kept; its locks end afterwards. A record whose value does not fit is
// marked deleted before the FieldError leaves. TableError when another copy holds
// the target's table lock. Returns how many records were appended.
uint64_t append_from(WorkAreas& areas, const std::filesystem::path& source, const std::vector<std::string>& fields = {},
                     const std::function<Scope(int source_area)>& make_scope = {}, int area = 0);

// One record per run of equal `key_text` values among the records in scope of `area`, taken in
// its current order (so the order should be by the key): the group's first record with the
// `sum_fields` (every numeric field when none are named) replaced by their totals over the
// group. The new table at `target` has the area's structure. Returns how many were written.
uint64_t total_to(WorkAreas& areas, const std::filesystem::path& target, std::string_view key_text,
                  const std::vector<std::string>& sum_fields = {}, const Scope& scope = {}, int area = 0);

}  // namespace platform::table
