#pragma once
// Comma-separated rows: fields may be quoted ("a, b"), a quote inside a quoted field is
// doubled (""), a quoted field may span lines; CR LF and LF both end a row.

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace dbtool {

class CsvError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class CsvReader {
  public:
    explicit CsvReader(std::istream& in) : in_(in) {}
    // The next row; nullopt at the end. Throws CsvError for a quote left open.
    std::optional<std::vector<std::string>> next();
    int line() const { return line_; }  // the line the last row started on

  private:
    std::istream& in_;
    int line_ = 0;
    int next_line_ = 1;
};

}  // namespace dbtool
