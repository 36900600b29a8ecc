#pragma once
// Shared by the printing tests: a temporary folder, files in and out, and the PDF readers
// from poppler-utils run through the program's own command runner.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/printer/command.h"

namespace platform::printer::testing {

namespace fs = std::filesystem;

class TempDir {
  public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "printer-test-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

  private:
    fs::path path_;
};

inline std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Output of a PDF tool; fails the test when the tool is missing or refuses the file.
inline std::string pdf_tool(std::vector<std::string> argv) {
    CommandResult r = run_command(argv);
    EXPECT_TRUE(r.succeeded()) << argv[0] << ": " << r.error << r.output;
    return r.output;
}

}  // namespace platform::printer::testing
