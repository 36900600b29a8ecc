#pragma once
// A fresh working folder with every setting at its default, on the headless console.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/app_screen.h"
#include "shell/settings.h"

namespace sklad::testing {

class SettingsTest : public AppScreenTest {
  protected:
    std::filesystem::path dir, cwd;

    void SetUp() override {
        char tmpl[] = "/tmp/settingsXXXXXX";
        dir = mkdtemp(tmpl);
        cwd = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        PARAMETRY_DOMYSLNE();
        LJ_DF_NAZWA = "";
        PTUZ_ZWOLNIONA = false;
    }
    void TearDown() override {
        SETKEY(K_ALT_Z, {});
        std::filesystem::current_path(cwd);
        std::filesystem::remove_all(dir);
        PARAMETRY_DOMYSLNE();
        LJ_DF_NAZWA = "";
        PTUZ_ZWOLNIONA = false;
    }

    static void write(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Row 17 (where message windows write) each time one of `n` hot keys ran during a wait.
    std::vector<std::string> messages;
    void watch_messages(int n) {
        SETKEY(K_ALT_Z, [this] { messages.push_back(hc.row_trimmed(17)); });
        for (int i = 0; i < n; ++i) hc.keys("Alt-Z");
    }
};

}  // namespace sklad::testing
