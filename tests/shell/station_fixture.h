#pragma once
// A fresh working folder on the message-recording console, with the session of a copy that has
// not registered yet, and small helpers to make and read the firm table and other tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/access.h"
#include "data/engine.h"
#include "data/layouts.h"
#include "data/session.h"
#include "operators/rights.h"
#include "platform/table/table.h"
#include "platform/table/workarea_fixture.h"
#include "shell/settings.h"
#include "shell/shutdown.h"
#include "shell/workstation.h"
#include "station_console.h"

namespace sklad::testing {

namespace fs = std::filesystem;
namespace table = platform::table;

inline void reset_copy() {
    RESET_WORKAREAS();
    PARAMETRY_DOMYSLNE();
    STACJA = 1;
    STACJA_ZAJETA = false;
    INDEKSOWAC = false;
    KOREKTA__AS = false;
    PIERWSZE_WEJSCIE = false;
    AUTO_GG_ZROBIONE = false;
    HH = "";
    HH_ARC = "";
    M_NAZWISKO = std::string(30, ' ');
}

class StationTest : public ::testing::Test {
  protected:
    table_fixture::ScratchFolder folder{true};
    StationConsole screen;

    void SetUp() override { reset_copy(); }
    void TearDown() override { reset_copy(); }

    // A field of the firm record: from area 1 while this copy has the table open, else from the
    // file (read-only, beside whatever other copies hold).
    static Value firm(const char* name, const fs::path& dir = ".") {
        if (ALIAS(1) == "FIRMA") {
            const int before = SELECT();
            DBSELECTAREA(1);
            DBGOTOP();
            Value v = FIELDGET(name);
            DBSELECTAREA(before);
            return v;
        }
        table::Table t(dir / "firma.dbf", table::OpenMode::ReadOnly);
        t.go_top();
        return t.get(name);
    }
    static std::string firm_text(const char* name, const fs::path& dir = ".") {
        return std::get<std::string>(firm(name, dir));
    }
    static int field_width(const fs::path& file, const char* name) {
        table::Table t(file, table::OpenMode::ReadOnly);
        for (const FieldDef& f : t.fields())
            if (f.name == name) return f.width;
        return 0;
    }
    // The firm table in the current layout with one record.
    static void make_firm(const std::string& st, const std::string& bmr = "01.24", int slots = 30) {
        ASSERT_TRUE(TWORZ(STRUKTURA_FIRMA("firma", slots), true, 1));
        table::Table t("firma.dbf", table::OpenMode::Exclusive);
        ASSERT_TRUE(t.append_blank());
        t.put("ST", Value(st));
        t.put("BMR", Value(bmr));
        t.commit();
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void write(const fs::path& p, const std::string& bytes) {
        if (p.has_parent_path()) fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string zeros(int n) { return std::string(static_cast<std::size_t>(n), '0'); }
};

}  // namespace sklad::testing
