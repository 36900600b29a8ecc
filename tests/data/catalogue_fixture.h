#pragma once
// A fresh working folder with the firm table for period 01.24 held exclusively in area 1, as
// workstation 3 leaves it after registering as the only running copy; today is 2024-01-15.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../common/app_screen.h"
#include "holder.h"
#include "data/access.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/table_upgrade.h"
#include "platform/table/structure.h"
#include "platform/table/table.h"
#include "platform/table/workarea_fixture.h"

namespace sklad::catalogue_fixture {

namespace fs = std::filesystem;
namespace table = platform::table;
using table_fixture::num;

inline std::string trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// The fields a structure string describes.
inline Fields layout_fields(const std::string& structure) { return table::parse_table_definition(structure).fields; }

inline Fields fields_on_disk(const std::string& program_path) {
    return table::DbfFile(TABLE_FILE(program_path), table::OpenMode::ReadOnly).layout().fields();
}

inline void touch(const fs::path& p) {
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

// Runs `work` in a child process that opens nothing of the parent's; returns the child's status.
inline int in_child(const std::function<void()>& work) {
    pid_t pid = fork();
    if (pid == 0) {
        try {
            work();
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

using sklad::testing::Holder;

class CatalogueTest : public sklad::testing::AppScreenTest {
  protected:
    void SetUp() override {
        RESET_WORKAREAS();
        STACJA = 3;
        M_DBF = "";
        HH = "";
        KOREKTA__AS = false;
        UPGRADE_STEP_HOOK({});
        TWORZ_FIRMA();
        take_firm();
        ASSERT_TRUE(ADD_REC(1));
        FIELDPUT("BMR", std::string("01.24"));
        DBUNLOCK();
    }
    void TearDown() override {
        UPGRADE_STEP_HOOK({});
        RESET_WORKAREAS();
    }

    // The firm table held exclusively in area 1, as a lone copy holds it after registering.
    void take_firm() {
        DBSELECTAREA(1);
        ASSERT_TRUE(NET_USE("firma", "firma", true, 1));
    }
    // Closes everything and takes the firm table again: the next start of a lone copy.
    void restart() {
        RESET_WORKAREAS();
        take_firm();
    }

    // Appends records to a table given as field name / value pairs, through the area that has
    // it open with its indexes, else with the table open in a spare area for the call (its index
    // files are then behind until the next rebuild).
    void add_records(const std::string& path, const std::vector<std::vector<std::pair<std::string, Value>>>& rows,
                     bool deleted_last = false, int area = 0) {
        const int before = SELECT();
        DBSELECTAREA(area == 0 ? 240 : area);
        if (area == 0) {
            ASSERT_TRUE(DBUSEAREA(false, path, "addrec"));
        }
        for (const auto& row : rows) {
            ASSERT_TRUE(DBAPPEND());
            for (const auto& [name, value] : row) FIELDPUT(name, value);
        }
        if (deleted_last) DBDELETE();
        DBUNLOCK();
        if (area == 0) DBCLOSEAREA();
        DBSELECTAREA(before);
    }

    // The screen row `row` as it was at each of the program's next `waits` waits for a key (a
    // hot key reads it then).
    void watch(int row, int waits = 1) {
        seen_ = {};
        SETKEY(K_ALT_Z, [this, row] { seen_.push_back(hc.row_trimmed(row)); });
        for (int i = 0; i < waits; ++i) hc.keys("Alt-Z");
    }
    void unwatch() { SETKEY(K_ALT_Z, {}); }

    std::vector<std::string> seen_;
    table_fixture::ScratchFolder dir{true};
};

}  // namespace sklad::catalogue_fixture
