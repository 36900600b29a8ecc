#include "tools/dbtool/csv.h"

namespace dbtool {

std::optional<std::vector<std::string>> CsvReader::next() {
    int c = in_.get();
    // Blank lines between rows are passed over.
    while (c == '\n' || c == '\r') {
        if (c == '\n') ++next_line_;
        c = in_.get();
    }
    if (c == std::char_traits<char>::eof()) return std::nullopt;
    line_ = next_line_;
    std::vector<std::string> row(1);
    bool quoted = false;
    bool was_quoted = false;
    for (;; c = in_.get()) {
        if (c == std::char_traits<char>::eof()) {
            if (quoted) throw CsvError("line " + std::to_string(line_) + ": a quoted field is not closed");
            break;
        }
        if (quoted) {
            if (c == '"') {
                if (in_.peek() == '"') {
                    in_.get();
                    row.back() += '"';
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++next_line_;
                row.back() += static_cast<char>(c);
            }
            continue;
        }
        if (c == '"' && row.back().empty() && !was_quoted) {
            quoted = was_quoted = true;
        } else if (c == ',') {
            row.emplace_back();
            was_quoted = false;
        } else if (c == '\n') {
            ++next_line_;
            break;
        } else if (c != '\r') {
            row.back() += static_cast<char>(c);
        }
    }
    return row;
}

}  // namespace dbtool
