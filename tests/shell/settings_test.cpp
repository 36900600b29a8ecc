#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "settings_fixture.h"
#include "data/session.h"
#include "shell/parametr_file.h"
#include "shell/value_files.h"
#include "shell/vat.h"

using namespace sklad;
using sklad::testing::SettingsTest;

namespace {

const std::set<std::string> kForced = {"J_PKWIU", "J_RABAT_ZB", "J_ZAOKRAGL", "J_NODB1", "J_ZAKUPU"};

std::string text_of(const platform::Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return std::get<Decimal>(v).to_plain();
}

// A value unlike any default, as wide as the setting, with bytes that need escaping.
platform::Value unusual(const SettingDef& d) {
    if (d.type == 'N') {
        std::string digits(static_cast<std::size_t>(d.width - (d.decimals ? d.decimals + 1 : 0)), '9');
        if (d.decimals) digits += "." + std::string(static_cast<std::size_t>(d.decimals), '7');
        return *Decimal::parse(digits);
    }
    std::string s = std::string("\xA5\"\\\x01") + d.name;
    s.resize(static_cast<std::size_t>(d.width), 'x');
    return s;
}

TEST_F(SettingsTest, EverySettingSurvivesAWriteAndARead) {
    for (const SettingDef& d : SETTINGS()) d.set(unusual(d));
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    const std::string file = read(PARAMETR_MEM);
    for (char c : file) ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << "plain ASCII only";
    EXPECT_NE(file.find("J_TEZ N 3 0 999\n"), std::string::npos);
    EXPECT_NE(file.find("J_UBYTEK N 3 1 9.7\n"), std::string::npos);
    EXPECT_NE(file.find("J_MAG_KOMI C 10 0 \"\\xA5\\x22\\x5C\\x01J_MAG_\"\n"), std::string::npos);
    EXPECT_EQ(file.find("JF_KP"), std::string::npos) << "cash counters live in the firm record";

    PARAMETRY_DOMYSLNE();
    OdczytParametrow r = CZYTAJ_PARAMETR();
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.problems.empty());
    for (const SettingDef& d : SETTINGS()) {
        if (!d.saved() || kForced.count(d.name)) continue;
        EXPECT_EQ(text_of(d.get()), text_of(unusual(d))) << d.name;
    }
    EXPECT_EQ(J_PKWIU, "T");
    EXPECT_EQ(J_ZAKUPU, "T");
}

TEST_F(SettingsTest, AFileOfAnOlderVersionLeavesNewSettingsAtTheirDefaults) {
    write(PARAMETR_MEM, "# older\nJ_VAT C 2 0 \" 8\"\nJ_TEZ N 3 0 30\nJ_NOWY_KLUCZ C 1 0 \"Q\"\n#END 3\n");
    OdczytParametrow r = CZYTAJ_PARAMETR();
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(J_KSEF, "T");
    EXPECT_EQ(J_VAT, " 8");
    EXPECT_EQ(J_TEZ, 30);

    // Saving one key keeps what another version wrote, and fills in the settings the file lacked.
    J_WITEK1 = "NOWA OPCJA";
    ASSERT_TRUE(ZAPISZ_PARAMETR({"J_WITEK1"}));
    const std::string file = read(PARAMETR_MEM);
    EXPECT_NE(file.find("J_NOWY_KLUCZ C 1 0 \"Q\""), std::string::npos);
    EXPECT_NE(file.find("J_KSEF C 1 0 \"T\""), std::string::npos);
    EXPECT_NE(file.find("J_WITEK1 C 10 0 \"NOWA OPCJA\""), std::string::npos);
}

TEST_F(SettingsTest, ADamagedFileIsReportedAndWhatCanBeReadIsKept) {
    J_VAT = " 8";
    J_TEZ = 21;
    J_WITEK3 = "OSTATNIA";
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    const std::string whole = read(PARAMETR_MEM);
    const std::size_t cut = whole.find("J_WITEK3") + 20;  // inside the line of J_WITEK3

    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut inside a line", whole.substr(0, cut)},
        {"cut after a line", whole.substr(0, whole.find('\n', cut) + 1)},
        {"end count wrong", whole.substr(0, whole.rfind("#END")) + "#END 3\n"},
        {"binary rubbish", whole.substr(0, whole.find("J_TEZ")) + std::string("\0\xFF\x01\"zz", 6) + "\n" +
                               whole.substr(whole.find("J_TEZ"))},
        {"number that is not", whole.substr(0, whole.find("J_TEZ")) + "J_TEZ N 3 0 1x4\n" +
                                   whole.substr(whole.find('\n', whole.find("J_TEZ")) + 1)},
        {"number too wide", whole.substr(0, whole.find("J_TEZ")) + "J_TEZ N 5 0 12345\n" +
                                whole.substr(whole.find('\n', whole.find("J_TEZ")) + 1)},
        {"type changed", whole.substr(0, whole.find("J_TEZ")) + "J_TEZ C 2 0 \"14\"\n" +
                             whole.substr(whole.find('\n', whole.find("J_TEZ")) + 1)},
        {"broken escape", whole.substr(0, whole.find("J_WITEK3")) + "J_WITEK3 C 3 0 \"a\\x4\"\n" +
                              whole.substr(whole.find('\n', whole.find("J_WITEK3")) + 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(PARAMETR_MEM, c.bytes);
        PARAMETRY_DOMYSLNE();
        messages.clear();
        watch_messages(1);
        OdczytParametrow r = CZYTAJ_PARAMETR();
        EXPECT_FALSE(r.problems.empty());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("USZKODZONY PLIK PARAMETR.MEM !"), std::string::npos);
        EXPECT_EQ(J_VAT, " 8") << "read before the damage";
        const std::string tez = std::string(c.what);
        EXPECT_EQ(J_TEZ, tez == "number that is not" || tez == "number too wide" || tez == "type changed" ? 14 : 21);
        EXPECT_EQ(J_WITEK3, tez.rfind("cut inside", 0) == 0 || tez == "broken escape" ? SPACE(35)
                                                                                        : std::string("OSTATNIA"));
        EXPECT_EQ(J_KSEF, "T");
    }
    // The next save repairs the file.
    ASSERT_TRUE(ZAPISZ_PARAMETR({"J_TEZ"}));
    EXPECT_TRUE(PARAMETR_Z_TEKSTU(read(PARAMETR_MEM)).problems.empty());
}

TEST_F(SettingsTest, FixedValuesAreForcedAfterEveryRead) {
    write(PARAMETR_MEM,
          "J_PKWIU C 1 0 \"X\"\nJ_RABAT_ZB C 1 0 \"T\"\nJ_ZAOKRAGL C 1 0 \"T\"\nJ_NODB1 C 1 0 \"T\"\n"
          "J_ZAKUPU C 1 0 \"N\"\nJ_PTUZ C 2 0 \" 0\"\nJ_WALUTA C 1 0 \"N\"\nJ_BOSS C 10 0 \"          \"\n#END 8\n");
    JEST_WALUTA = "T";
    PTUZ_ZWOLNIONA = true;  // the tables are open
    CZYTAJ_PARAMETR(ModelDrukarki::Z_PLIKU);
    EXPECT_EQ(J_PKWIU, "T");
    EXPECT_EQ(J_RABAT_ZB, "N");
    EXPECT_EQ(J_ZAOKRAGL, "N");
    EXPECT_EQ(J_NODB1, "N");
    EXPECT_EQ(J_ZAKUPU, "T");
    EXPECT_EQ(J_PTUZ, "ZW");
    EXPECT_EQ(JEST_WALUTA, "N");
    EXPECT_EQ(J_BOSS, "TUMP") << "an empty supervisor password would let every prompt pass";

    // Slot Z is exempt only while running: the file keeps its own value.
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    EXPECT_NE(read(PARAMETR_MEM).find("J_PTUZ C 2 0 \" 0\""), std::string::npos);
}

TEST_F(SettingsTest, TheGlobalPrinterModelIsSavedWhileAnOperatorModelIsInForce) {
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());  // the file holds "DF-300  "
    // The operator's printer description chose FP-600 for this copy: not a change of the setting.
    const StanParametrow before = PARAMETRY_STAN();
    LJ_DF_NAZWA = J_DF_NAZWA;
    J_DF_NAZWA = "FP-600    ";
    EXPECT_TRUE(PARAMETRY_ZMIENIONE(before).empty());
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    EXPECT_NE(read(PARAMETR_MEM).find("J_DF_NAZWA C 8 0 \"DF-300  \""), std::string::npos);
    EXPECT_EQ(J_DF_NAZWA, "FP-600    ") << "the copy keeps using the operator's model";

    // Start-up and the user editor keep the operator's model; the file's goes to LJ_DF_NAZWA.
    write(PARAMETR_MEM, "J_DF_NAZWA C 8 0 \"ORHMET  \"\n#END 1\n");
    CZYTAJ_PARAMETR(ModelDrukarki::OPERATORA);
    EXPECT_EQ(J_DF_NAZWA, "FP-600    ");
    EXPECT_EQ(LJ_DF_NAZWA, "ORHMET  ");
    // The other rereads load the file's model.
    CZYTAJ_PARAMETR(ModelDrukarki::Z_PLIKU);
    EXPECT_EQ(J_DF_NAZWA, "ORHMET  ");
}

TEST_F(SettingsTest, ASaveChangesOnlyTheKeysThisCopyChanged) {
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    // Another copy changed J_WITEK1 meanwhile.
    std::string file = read(PARAMETR_MEM);
    file.replace(file.find("J_WITEK1"), file.find('\n', file.find("J_WITEK1")) - file.find("J_WITEK1"),
                 "J_WITEK1 C 5 0 \"INNA!\"");
    write(PARAMETR_MEM, file);

    const StanParametrow before = PARAMETRY_STAN();
    J_WITEK2 = "MOJA";
    J_DAT_OPE = "15.01.2024";
    EXPECT_EQ(PARAMETRY_ZMIENIONE(before), (std::vector<std::string>{"J_WITEK2", "J_DAT_OPE"}));
    ASSERT_TRUE(ZAPISZ_PARAMETR(PARAMETRY_ZMIENIONE(before)));
    PARAMETRY_DOMYSLNE();
    CZYTAJ_PARAMETR();
    EXPECT_EQ(J_WITEK1, "INNA!");
    EXPECT_EQ(J_WITEK2, "MOJA");
    EXPECT_EQ(J_DAT_OPE, "15.01.2024");
    EXPECT_FALSE(std::filesystem::exists("parametr.tmp"));
}

TEST_F(SettingsTest, TwoCopiesSavingAtOnceKeepEachOthersKeysAndNoReaderSeesHalfAFile) {
    ASSERT_TRUE(ZAPISZ_PARAMETR_WSZYSTKO());
    const std::size_t settings = PARAMETRY_STAN().size();
    constexpr int kSaves = 60;
    auto writer = [&](std::string* own, const char* own_name, char tag) {
        for (int i = 0; i < kSaves; ++i) {
            *own = tag + std::to_string(i);
            J_WITEK3 = std::string(1, tag) + " ostatni";
            if (!ZAPISZ_PARAMETR({own_name, "J_WITEK3"})) _exit(1);
        }
        _exit(0);
    };
    auto reader = [&] {
        for (int i = 0; i < 4 * kSaves; ++i) {
            TekstParametrow t = PARAMETR_Z_TEKSTU(read(PARAMETR_MEM));
            if (!t.problems.empty() || t.entries.size() != settings) _exit(2);
        }
        _exit(0);
    };
    pid_t pids[3];
    if ((pids[0] = fork()) == 0) writer(&J_WITEK1, "J_WITEK1", 'A');
    if ((pids[1] = fork()) == 0) writer(&J_WITEK2, "J_WITEK2", 'B');
    if ((pids[2] = fork()) == 0) reader();
    for (pid_t p : pids) {
        int status = 0;
        ASSERT_EQ(waitpid(p, &status, 0), p);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child " << p << " status " << status;
    }
    PARAMETRY_DOMYSLNE();
    OdczytParametrow r = CZYTAJ_PARAMETR();
    EXPECT_TRUE(r.problems.empty());
    EXPECT_EQ(J_WITEK1, "A" + std::to_string(kSaves - 1));
    EXPECT_EQ(J_WITEK2, "B" + std::to_string(kSaves - 1));
    EXPECT_TRUE(J_WITEK3 == "A ostatni" || J_WITEK3 == "B ostatni") << J_WITEK3;
}

TEST_F(SettingsTest, DefaultVatRate) {
    struct Case {
        std::string vat, ptua;
        const char* marker;
        std::string want_vat, want_ptua;
    } cases[] = {
        {"ZW", "23", nullptr, "ZW", "23"},
        {"NP", "--", nullptr, "NP", "--"},
        {"8", "23", nullptr, " 8", "23"},
        {"8 ", "23", nullptr, " 8", "23"},
        {"0", "23", nullptr, " 0", "23"},
        {"25", "23", nullptr, "23", "23"},
        {"25", "25", nullptr, "23", "25"},
        {"25", "25", "NORWEGIA.TXT", "25", "25"},
        {" 7", "--", nullptr, "23", "23"},
        {"8", "23", "vat_13_5.txt", " 8.0", "23"},
        {"13.5", "23", "VAT_13_5.TXT", "23.0", "23"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vat + (c.marker ? std::string(" with ") + c.marker : ""));
        if (c.marker) write(c.marker, "");
        J_VAT = c.vat;
        J_PTUA = c.ptua;
        EXPECT_TRUE(VAT_DOMYSLNY(0));
        EXPECT_EQ(J_VAT, c.want_vat);
        EXPECT_EQ(J_PTUA, c.want_ptua);
        if (c.marker) std::filesystem::remove(c.marker);
    }
    // As a field check it also shows the rate.
    J_VAT = "5";
    VAT_DOMYSLNY();
    EXPECT_EQ(hc.text(13, 78, 2), " 5");
    EXPECT_EQ(hc.colour(13, 79), "W+/N");
}

TEST(VatSlots, SprPtuAlignsASlotValue) {
    struct Case {
        std::string in, out;
    } cases[] = {{"00", " 0"}, {"  ", " 0"}, {"0 ", " 0"}, {"", " 0"}, {"8 ", " 8"}, {"8", " 8"},
                 {"05", " 5"}, {"ZW", "ZW"}, {"23", "23"}, {" 8", " 8"}, {"NP", "NP"}};
    for (const Case& c : cases) {
        std::string slot = c.in;
        EXPECT_TRUE(SPR_PTU(slot));
        EXPECT_EQ(slot, c.out) << "from \"" << c.in << "\"";
    }
}

TEST_F(SettingsTest, StartUpCreatesNormalisesAndSavesTheFile) {
    // No file: defaults are written at once.
    PARAMETRY_START("");
    EXPECT_TRUE(std::filesystem::exists(PARAMETR_MEM));
    EXPECT_EQ(PARAMETR_Z_TEKSTU(read(PARAMETR_MEM)).entries.size(), PARAMETRY_STAN().size());

    // An old rate and old slots are normalised and saved; "3" switches on three decimals.
    write(PARAMETR_MEM, "J_VAT C 2 0 \"8 \"\nJ_PTUA C 2 0 \"22\"\nJ_PTUB C 2 0 \" 7\"\nJ_WITEK1 C 1 0 \"W\"\n#END 4\n");
    PARAMETRY_DOMYSLNE();
    PARAMETRY_START("3");
    EXPECT_EQ(J_VAT, "23") << "normalised again over the new slots, not left at 22";
    EXPECT_EQ(J_PTUA, "23");
    EXPECT_EQ(J_PTUB, " 8");
    EXPECT_EQ(J_I3, "3");
    PARAMETRY_DOMYSLNE();
    CZYTAJ_PARAMETR();
    EXPECT_EQ(J_VAT, "23");
    EXPECT_EQ(J_PTUA, "23");
    EXPECT_EQ(J_PTUB, " 8");
    EXPECT_EQ(J_I3, "3");
    EXPECT_EQ(J_WITEK1, "W") << "the file's other keys stay";

    // Not with the ORHMET printer.
    write(PARAMETR_MEM, "J_DF_NAZWA C 8 0 \"ORHMET  \"\n#END 1\n");
    PARAMETRY_DOMYSLNE();
    PARAMETRY_START("3");
    EXPECT_EQ(J_I3, "2");
}

TEST_F(SettingsTest, ValueFiles) {
    CZYTAJ_POMINAC();
    EXPECT_EQ(M_RD_POMIN, "");
    write("Pominac.txt", "FZ, PA,\r\nWZ\f\n");
    CZYTAJ_POMINAC();
    EXPECT_EQ(M_RD_POMIN, ",FZ,PA,WZ,");
    write("kp_.---", "");
    CZYTAJ_POMINAC();
    EXPECT_EQ(M_RD_POMIN, ",FZ,PA,WZ,,KP_,KW_,");

    struct Case {
        std::string bytes, want;
    } banks[] = {{"  PKO BP SA \r\n", "PKO BP SA"}, {std::string(20, 'B'), std::string(20, 'B')},
                 {std::string(21, 'B'), ""}};
    for (const Case& c : banks) {
        write("bankbold.txt", c.bytes);
        CZYTAJ_BANKBOLD();
        EXPECT_EQ(M_BANKBOLD, c.want);
    }

    const Date fallback = Date::from_ymd(2001, 1, 1);
    struct DateCase {
        const char* bytes;  // nullptr: no file
        Date want;
    } dates[] = {{nullptr, fallback},
                 {" 10.01.2024\r\n", Date::from_ymd(2024, 1, 10)},
                 {"16.01.2024", fallback},  // after today (15.01.2024)
                 {"\r\n", fallback},
                 {"31.02.2023", fallback}};
    for (const DateCase& c : dates) {
        std::filesystem::remove("DATA.RR");
        if (c.bytes) write("DATA.RR", c.bytes);
        CZYTAJ_DATA_RR();
        EXPECT_EQ(M_DATA_RR, c.want) << (c.bytes ? c.bytes : "no file");
    }
}

}  // namespace
