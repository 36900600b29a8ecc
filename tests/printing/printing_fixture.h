#pragma once
// A fresh working folder as workstation 7 of computer KASA1, on the headless console, with a
// device file as the workstation's printer (vat.ini) so that printouts can be read back.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/app_screen.h"
#include "data/engine.h"
#include "data/session.h"
#include "platform/table/workarea_fixture.h"
#include "printing/session.h"
#include "shell/settings.h"

namespace sklad::testing {

namespace fs = std::filesystem;

class PrintingTest : public AppScreenTest {
  protected:
    ::table_fixture::ScratchFolder dir{true};

    void SetUp() override {
        RESET_WORKAREAS();
        ::setenv("COMPUTERNAME", "KASA1", 1);
        // No print server answers here: a test that reaches one by mistake fails at once.
        ::setenv("CUPS_SERVER", "127.0.0.1:1", 1);
        STACJA = 7;
        PLIK = "rob\\wydruk07.prn";
        HH = "24\\01";
        M_DRUKARKA = "EPSON";
        M_LPT = "LPT1";
        M_SMTP = "";
        J_PAPIER = 10;
        fs::create_directories("rob");
        write("lp0", "");
        write("vat.ini", "[System]\r\nPrinterName=" + printer() + "\r\n");
    }
    void TearDown() override {
        SETKEY(K_ALT_Z, {});
        RESET_WORKAREAS();
        ::unsetenv("COMPUTERNAME");
        ::unsetenv("CUPS_SERVER");
    }

    // The device file standing for the printer, and what reached it.
    std::string printer() const { return (dir.path() / "lp0").string(); }
    std::string printed() const { return read("lp0"); }

    static void write(const std::string& name, const std::string& bytes) {
        fs::path p(name);
        if (p.has_parent_path()) fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static bool exists(const std::string& name) { return fs::exists(name); }

    // Row 17, where message windows write, is recorded when the next wait meets this key; the key
    // after it ends the message's wait.
    std::vector<std::string> messages;
    void note_message() {
        SETKEY(K_ALT_Z, [this] { messages.push_back(trim(hc.text(17, 31, 41))); });
        hc.keys("Alt-Z Alt-Q");
    }
    static std::string trim(std::string s) {
        s.erase(0, s.find_first_not_of(' '));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }

    // A line "Key:   value" of pdfinfo's output: the value.
    static std::string info_field(const std::string& info, const std::string& key) {
        std::istringstream lines(info);
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with(key + ":")) return line.substr(line.find_first_not_of(' ', key.size() + 1));
        return "(none)";
    }

    // A spool file of `n` lines "wiersz 001 ..." (CR LF between lines, as QOUT writes them).
    static std::string numbered_lines(int n, const std::string& tail = "") {
        std::string out;
        for (int i = 1; i <= n; ++i) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "wiersz %03d", i);
            out += std::string(i > 1 ? "\r\n" : "") + buf + tail;
        }
        return out;
    }
};

}  // namespace sklad::testing
