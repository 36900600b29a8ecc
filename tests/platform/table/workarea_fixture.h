#pragma once
// A fresh folder per test, removed afterwards, and small tables filled from rows of values.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/table/table.h"

namespace table_fixture {

using platform::Date;
using platform::Decimal;
using platform::FieldDef;
using platform::FieldType;
using platform::Value;

inline Decimal num(std::string_view s) { return *Decimal::parse(s); }

// A temporary folder; with `enter`, also the current folder while it lives.
class ScratchFolder {
  public:
    explicit ScratchFolder(bool enter = false) {
        std::string pattern = (std::filesystem::temp_directory_path() / "sklad-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        if (enter) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ec;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Creates a table and appends `rows` (values in field order; nil leaves a field blank).
inline void make_table(const std::filesystem::path& path, const std::vector<FieldDef>& fields,
                       const std::vector<std::vector<Value>>& rows) {
    platform::table::Table::create(path, fields);
    platform::table::Table t(path, platform::table::OpenMode::Exclusive);
    for (const auto& row : rows) {
        ASSERT_TRUE(t.append_blank());
        for (std::size_t i = 0; i < row.size(); ++i) t.put(static_cast<int>(i), row[i]);
    }
    t.commit();
}

// The text of a C field with the trailing blanks removed.
inline std::string text(const Value& v) {
    std::string s = std::get<std::string>(v);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

}  // namespace table_fixture
