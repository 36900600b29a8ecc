#pragma once
// Table structures written as text, the way the program writes them down: items separated by
// commas, four per field (name, type letter, width, decimals), blanks around items ignored, the
// last group without a comma after it:
//   "R_P       ,C,  1,  0,S_Z       ,C,  1,  0,DATA      ,D,  8,  0"
// A full table definition starts with the table's path: "24\01\dowod,R_P,C,1,0,...".

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/table/errors.h"
#include "platform/value/value.h"

namespace platform::table {

// A structure text that cannot be read; item() is the 1-based position of the offending item
// among the items passed (0 when the text as a whole is wrong).
class StructureError : public FieldError {
  public:
    StructureError(std::size_t item, const std::string& reason);
    std::size_t item() const { return item_; }

  private:
    std::size_t item_;
};

// The fields of a structure text (without the leading path). Names are upper-cased; the layout is
// checked as a table's would be (names, widths, duplicates). Throws StructureError.
std::vector<FieldDef> parse_structure(std::string_view text);

struct TableDefinition {
    std::string path;  // as written, blanks around it removed
    std::vector<FieldDef> fields;
};
// A full definition: the path, then the fields. Items are numbered from the path.
TableDefinition parse_table_definition(std::string_view text);
// Former names, kept while callers move to the ones above.
using TableSpec = TableDefinition;
inline TableDefinition parse_table_spec(std::string_view text) { return parse_table_definition(text); }

// The structure text of `fields` in the program's own form (names padded to 10, numbers
// right-aligned in 3).
std::string structure_text(const std::vector<FieldDef>& fields);

}  // namespace platform::table
