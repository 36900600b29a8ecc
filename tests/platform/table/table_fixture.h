#pragma once
// Shared by the table engine tests: a fresh temporary folder per test, small layouts and
// helpers to run the independent DBF/NTX readers and the table_worker helper.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/table/table.h"

namespace platform::table::testing {

namespace fs = std::filesystem;

inline Decimal num(std::string_view s) { return *Decimal::parse(s); }
inline Value text(std::string_view s) { return std::string(s); }

class TempDir {
  public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "table-test-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

  private:
    fs::path path_;
};

class TableTest : public ::testing::Test {
  protected:
    TempDir dir;
    fs::path file(const std::string& name) const { return dir / name; }
};

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs a command through the shell and returns its standard output; `status` gets the exit code.
inline std::string run(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int st = ::pclose(p);
    if (status) *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

// The system's python3 carries the Debian dbfread module.
inline std::string system_python() { return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3"; }

// Folder of the running test executable; the table_worker helper is built next to it.
inline fs::path bin_dir() { return fs::read_symlink("/proc/self/exe").parent_path(); }

}  // namespace platform::table::testing
