#pragma once
// Typed failures of the table engine. Each names the file it concerns, so a message can
// tell the administrator which table or index to look at.

#include <stdexcept>
#include <string>

namespace platform::table {

class TableError : public std::runtime_error {
  public:
    TableError(std::string file, std::string reason)
        : std::runtime_error(file.empty() ? reason : file + ": " + reason),
          file_(std::move(file)),
          reason_(std::move(reason)) {}
    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string file_;
    std::string reason_;
};

// A damaged or foreign file: bad header, lengths that do not add up, a truncated body, an
// index page that points outside the file or back into the tree.
class CorruptFile : public TableError {
  public:
    using TableError::TableError;
};

// Shared versus exclusive opening refused because another copy holds the file the other way
// (what the program reports as a network error).
class OpenConflict : public TableError {
  public:
    using TableError::TableError;
};

// Pack, zap and similar whole-table rewrites on a table that is not open exclusively.
class NeedExclusive : public TableError {
  public:
    using TableError::TableError;
};

// A change to a shared table without a lock on the record (or the table).
class LockRequired : public TableError {
  public:
    using TableError::TableError;
};

// Unknown field, a value of the wrong type, a number that does not fit its field, a bad layout.
class FieldError : public TableError {
  public:
    using TableError::TableError;
};

// A system call failed (disk full, permission, missing file).
class IoError : public TableError {
  public:
    IoError(std::string file, std::string reason, int err)
        : TableError(std::move(file), std::move(reason)), errno_(err) {}
    int error_number() const { return errno_; }

  private:
    int errno_;
};

}  // namespace platform::table
