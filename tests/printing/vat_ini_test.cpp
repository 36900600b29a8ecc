#include "printing/vat_ini.h"

#include <stdexcept>

#include "printing_fixture.h"

namespace sklad::testing {
namespace {

using VatIni = PrintingTest;

TEST_F(VatIni, ThisComputersSectionFirstThenSystemForEmptyValues) {
    write("vat.ini",
          "; ustawienia stanowisk\r\n"
          "[System]\r\nPrinterName=DEFAULT\r\nPrinterType=WIN32\r\nDF_IpPort=6001\r\nMode=TCP\r\n"
          "[kasa1]\r\nprintername = laser \r\nPrinterType=\r\nMode=serial\r\nCom1IpPort=4001\r\n"
          "[KASA2]\r\nPrinterName=igla\r\n");
    EXPECT_EQ(VAT_INI("PRINTERNAME"), "laser");
    EXPECT_EQ(VAT_INI("printertype"), "WIN32") << "an empty value falls back to System";
    EXPECT_EQ(VAT_INI("DF_IPPORT"), "6001");
    EXPECT_EQ(VAT_INI("COM1_PORT"), "4001");
    EXPECT_EQ(VAT_INI("COM2_ADDR"), "");
    EXPECT_EQ(VAT_INI("TERMINAL_MODE"), "TCP") << "System only";
    ::setenv("COMPUTERNAME", "KASA2", 1);
    EXPECT_EQ(VAT_INI("PRINTERNAME"), "igla");
    EXPECT_EQ(VAT_INI("ELTRONNAME"), "igla");
    ::setenv("COMPUTERNAME", "INNY", 1);
    EXPECT_EQ(VAT_INI("PRINTERNAME"), "DEFAULT");
}

TEST_F(VatIni, AnUnknownNameIsAFaultOfTheProgram) {
    hc.keys("Enter");
    EXPECT_THROW(VAT_INI("PRINTER"), std::logic_error);
    EXPECT_EQ(hc.row_trimmed(24), "Testerze sprawdz parametr PRINTER");
}

TEST_F(VatIni, TheSettingsObjectChangesKeysAndSectionsAndKeepsComments) {
    write("vat.ini", "; komentarz\r\n[System]\r\nPrinterName=DEFAULT\r\n\r\n[KASA1]\r\nMode=x\r\n");
    IniFile ini = INI_OTWORZ(VAT_INI_PLIK);
    EXPECT_TRUE(INI_JEST_SEKCJA(ini, "system"));
    EXPECT_FALSE(INI_JEST_SEKCJA(ini, "KASA9"));
    INI_ZAPISZ(ini, "SYSTEM", "printername", "laser");
    INI_ZAPISZ(ini, "KASA9", "PrinterType", "WIN32");
    INI_USUN(ini, "KASA1", "MODE");
    INI_USUN_SEKCJE(ini, "kasa1");
    ASSERT_TRUE(INI_ZATWIERDZ(ini));
    EXPECT_EQ(read("vat.ini"),
              "; komentarz\r\n[System]\r\nPrinterName=laser\r\n\r\n[KASA9]\r\nPrinterType=WIN32\r\n");
    EXPECT_EQ(INI_CZYTAJ(INI_OTWORZ(VAT_INI_PLIK), "kasa9", "printertype"), "WIN32");
}

TEST(IniText, OddLinesAreKeptAndNeverMistakenForSettings) {
    IniFile ini = INI_PARSUJ("x=1\n[A\n[B]\n=bez klucza\n;a=2\ntylko tekst\nk = v = w\n");
    EXPECT_EQ(INI_CZYTAJ(ini, "", "x"), "1");
    EXPECT_EQ(INI_CZYTAJ(ini, "B", "k"), "v = w");
    EXPECT_EQ(INI_CZYTAJ(ini, "B", ";a"), "");
    EXPECT_EQ(INI_TEKST(ini), "x=1\r\n[A\r\n[B]\r\n=bez klucza\r\n;a=2\r\ntylko tekst\r\nk=v = w\r\n");
    EXPECT_EQ(INI_TEKST(INI_PARSUJ("a=1\n[]\nk=v")), "a=1\r\n[]\r\nk=v\r\n") << "a nameless header stays";
}

}  // namespace
}  // namespace sklad::testing
