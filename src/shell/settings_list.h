#pragma once
// Every setting, named once. Each line of SKLAD_SETTINGS gives:
//   C++ type, name, type letter, width, decimals, default,
//   editor page (P1 P2 P3 of the user editor, ADM the administrator editor, NIE none),
//   row, prompt column, field column, field check, when shown, prompt.
// The list declares the session variables and drives the defaults, parametr.mem and the editors.
// Names beginning with "J_" are kept in parametr.mem; the cash counters "JF_" live in the firm
// record and are only edited here.
//
// Field checks: a string of letters = a one-letter field taking only those; "@..." a named check
// (settings_form.cpp); "" none. When shown: "" always, "R1" with right 1, "NZ" while not zero,
// or the name of a marker file.

#include <string>

#include "common/memvar.h"
#include "platform/text/cp852.h"

namespace sklad {

// xBase SPACE(): n blanks, the default of an empty character setting.
inline std::string SPACE(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// clang-format off
#define SKLAD_SETTINGS(X) \
  /* page 1, row 0: what goes to the fiscal printer (the prompt names the model) */ \
  X(std::string, J_DF,       'C', 40, 0, SPACE(25), P1,  0,  0, 38, "",      "", "Co wysylac do drukarki") \
  /* page 1, left column */ \
  X(std::string, J_NOWE_STA, 'C',  1, 0, "N",       P1,  1,  0, 45, "TN",    "", "Czy pomagac w wydawaniu pieniedzy") \
  X(std::string, J_DRUK_IND, 'C',  1, 0, "N",       P1,  2,  0, 45, "TN",    "", "Czy drukowac indeks na dowodach") \
  X(std::string, J_SD_RAZEM, 'C',  1, 0, "T",       P1,  3,  0, 45, "TN",    "", "Czy sumowac paragony w raporcie kasowym") \
  X(std::string, J_SD_Z1MAG, 'C',  1, 0, "T",       P1,  4,  0, 45, "TN",    "", "Szybka sprzedaz na paragony (tylko z 1 mag)") \
  X(std::string, J_BOGATY_R, 'C',  1, 0, "T",       P1,  5,  0, 45, "TN",    "", "Czy robic rejestr z danymi o odbiorcy") \
  X(std::string, J_FILTR,    'C',  1, 0, "N",       P1,  6,  0, 45, "TN",    "", "Czy chcesz filtrowac ciagi znakow") \
  X(std::string, J_REJ_NETT, 'C',  1, 0, "N",       P1,  7,  0, 45, "TN",    "", "Czy w rejestrze podawac wartosc netto") \
  X(std::string, J_OPA,      'C',  3, 0, "OPA",     P1,  8,  0, 45, "@OPA",  "", "Jak oznaczono opakowanie") \
  X(std::string, J_MOD_OPA,  'C',  1, 0, "N",       P1,  9,  0, 45, "TN",    "", "Czy sprzedajesz tylko pelne opakowania") \
  X(std::string, J_ATEST,    'C',  1, 0, "T",       P1, 10,  0, 45, "TN",    "", "Czy chcesz wpisywac atest") \
  X(std::string, J_ATEST_DR, 'C',  1, 0, "N",       P1, 11,  0, 45, "TN",    "", "Czy drukowac atest na rachunkach") \
  X(std::string, J_OPA_DRUK, 'C',  1, 0, "N",       P1, 12,  0, 45, "TN",    "", "Czy drukowac ilosc opakowan na rachunkach") \
  X(std::string, J_RD,       'C',  3, 0, "FV ",     P1, 13,  0, 45, "@RD",   "", "Jaki jest najczesciej uzywany dowod") \
  X(std::string, J_SD,       'C',  3, 0, "SD ",     P1, 14,  0, 45, "@RD",   "", "Jak oznaczono sprzedaz na paragony") \
  X(std::string, J_FZ,       'C',  3, 0, "FZ ",     P1, 15,  0, 45, "@F",    "", "Jak oznaczono fakture zaliczkowa") \
  X(std::string, J_SPZ,      'C',  1, 0, "G",       P1, 16,  0, 45, "GTPFKBCH", "", "Domyslny sposob zaplaty (PTGFC)") \
  X(int,         J_TEZ,      'N',  3, 0, 14,        P1, 17,  0, 45, "@GE0",  "", "Domyslny termin zaplaty w dniach") \
  X(std::string, J_MAG_GLOW, 'C',  1, 0, "1",       P1, 18,  0, 45, "@MAG",  "", "Magazyn glowny") \
  X(std::string, J_MAG_K,    'C',  1, 0, "K",       P1, 19,  0, 45, "@MAG",  "", "Magazyn kosztow") \
  X(std::string, J_MAG_U,    'C',  2, 0, "U ",      P1, 20,  0, 45, "@NO0",  "", "Magazyny uslugowe") \
  X(std::string, J_MAG_KOMI, 'C', 10, 0, "\xB3",    P1, 21,  0, 40, "",      "", "Magazyny komisowe") \
  X(std::string, J_FV_SYMBO, 'C',  4, 0, SPACE(4),  P1, 22,  0, 45, "",      "", "FV-numer/SYMBOL, SYMBOL:") \
  X(std::string, J_NAPED,    'C',  1, 0, "A",       P1, 23,  0, 45, "@LIT",  "", "Naped do zapisu dowodow (F10)") \
  X(std::string, J_I3,       'C',  1, 0, "2",       P1, 24,  0, 45, "23",    "", "Miejsca po przecinku w ilosciach [2/3]") \
  /* page 1, right column */ \
  X(std::string, J_MAG_UU,   'C',  2, 0, "U ",      P1,  1, 51, 78, "@NO0",  "", "Magazyn o stanach ujemnych") \
  X(std::string, J_FOLDER,   'C', 12, 0, SPACE(12), P1,  2, 51, 68, "",      "", "Folder w pliku :") \
  X(int,         J_NEC_M1,   'N',  3, 0, 0,         P1,  3, 51, 73, "",      "", "Drukarka NEC m1/m2 =") \
  X(int,         J_NEC_M2,   'N',  3, 0, 0,         P1,  3, 76, 77, "",      "", "/") \
  X(std::string, J_SPECYFIK, 'C',  1, 0, "T",       P1,  4, 51, 79, "TN",    "", "Robic specyfikacje VAT") \
  X(std::string, J_FA_SORT,  'C',  1, 0, "N",       P1,  5, 51, 79, "TN",    "", "Sortowac przed drukiem FV") \
  X(std::string, J_ZLE_UZGO, 'C',  1, 0, "N",       P1,  6, 51, 79, "TNKR",  "", "Sa problemy z uzgodn.[NTR]") \
  X(std::string, J_DRU_RABA, 'C',  1, 0, "N",       P1,  7, 51, 79, "TN",    "", "Czy drukowac rabat na FV/RU") \
  X(std::string, J_EJECT,    'C',  1, 0, "N",       P1,  8, 51, 79, "TN",    "", "Wyrzucic papier (FV na A4)") \
  X(std::string, J_1_KOMPUT, 'C',  1, 0, "N",       P1,  9, 51, 79, "TN",    "", "Jeden komputer w sklepie") \
  X(std::string, J_TOCZ_KAS, 'C',  1, 0, "T",       P1, 10, 51, 79, "TN",    "", "Czy zachowac ciaglosc kasy") \
  X(std::string, J_PZ,       'C',  1, 0, "T",       P1, 11, 51, 79, "TNE",   "", "PZ drukowac w cenach sprz.") \
  X(std::string, J_ORYGINAL, 'C',  1, 0, "T",       P1, 12, 51, 79, "TNX",   "", "Oryginal i kopia FV [TNX]") \
  X(std::string, J_VAT,      'C',  2, 0, "23",      P1, 13, 51, 78, "@VAT",  "", "VAT domyslny") \
  X(int,         J_POZIOM,   'N',  2, 0, 1,         P1, 14, 51, 78, "@POZIOM", "", "Ilosc poziomow cen") \
  X(std::string, J_DUPLIKAT, 'C',  1, 0, "T",       P1, 15, 51, 79, "TN",    "", "Duplikat przy podgladzie") \
  X(std::string, J_PKWIU,    'C',  1, 0, "T",       P1, 16, 51, 79, "TNX-CG", "", "PKWiU na FV [TNX-CG]") \
  X(std::string, J_SD_RABAT, 'C',  2, 0, " 2",      P1, 17, 51, 78, "",      "R1", "Max. rabat na SD (%)") \
  X(std::string, J_ZER_NRD,  'C',  1, 0, "N",       P1, 18, 51, 79, "TN",    "", "Zerowac numery co miesiac") \
  X(std::string, J_XKP,      'C',  3, 0, "KP ",     P1, 19, 51, 77, "@KP",   "", "Dowod KP oznaczono") \
  X(std::string, J_XKW,      'C',  3, 0, "KW ",     P1, 20, 51, 77, "@KW",   "", "Dowod KW oznaczono") \
  X(int,         JF_KP,      'N',  6, 0, 0,         P1, 21, 51, 62, "",      "", "Licznik KP:") \
  X(int,         JF_KW,      'N',  6, 0, 0,         P1, 21, 70, 74, "",      "", "KW:") \
  X(int,         JF_NO,      'N',  6, 0, 0,         P1, 22, 51, 74, "",      "", "Licznik dowodow NO   :") \
  X(int,         JF_KP_KW,   'N',  6, 0, 0,         P1, 23, 51, 74, "",      "", "Licznik dowodow KP_KW:") \
  X(int,         JF_KP_,     'N',  6, 0, 0,         P1, 24, 51, 74, "",      "", "Licznik dowodow KP_  :") \
  X(int,         JF_WE,      'N',  6, 0, 0,         NIE, 0,  0,  0, "",      "", "") \
  /* page 2, left column */ \
  X(std::string, J_RAP2SK,   'C',  1, 0, "N",       P2,  1,  0, 43, "TN",    "", "Czy korzystasz z raportu sklepu nr 2") \
  X(std::string, J_GETNIP,   'C',  1, 0, "N",       P2,  2,  0, 43, "TN",    "", "Szukac kontrahenta wg. pola NIP") \
  X(std::string, J_RK_CZYST, 'C',  1, 0, "N",       P2,  3,  0, 43, "TN",    "", "Czy w RK - tylko operacje gotowkowe") \
  X(std::string, J_WIELE_W,  'C',  1, 0, "N",       P2,  4,  0, 43, "TN",    "", "Czy wiele wierszy opisuje nazwe towaru") \
  X(std::string, J_MAG_DRUK, 'C',  1, 0, "N",       P2,  5,  0, 43, "TN",    "", "Czy drukowac nr magazynu na rachunkach") \
  X(std::string, J_STRASZYC, 'C',  1, 0, "T",       P2,  6,  0, 43, "TN",    "", "Straszyc na FV naliczaniem odsetek") \
  X(std::string, J_MAG1DYSK, 'C',  1, 0, "T",       P2,  7,  0, 43, "TNX",   "", "Przyjmowac towar z dyskietki na 1 mag TNX") \
  X(std::string, J_OPA_DF,   'C',  1, 0, "T",       P2,  8,  0, 43, "TN",    "", "Czy wysylac opakowania do fiskalnej") \
  X(std::string, J_ZPCHR,    'C',  1, 0, "N",       P2,  9,  0, 43, "TN",    "", "Czy jest to zaklad pracy chronionej") \
  X(std::string, J_ODCH,     'C',  1, 0, "N",       P2, 10,  0, 43, "TN",    "", "Stosujesz ceny ewidencyjne ( Nie )") \
  X(std::string, J_GET_C_N,  'C',  1, 0, "T",       P2, 11,  0, 43, "TNX",   "", "Edytowac na PZ cene zakupu [T/N/X]") \
  X(std::string, J_INF_UJEM, 'C',  1, 0, "T",       P2, 12,  0, 43, "TN",    "", "Czy ostrzegac o stanach ujemnych") \
  X(std::string, J_DOP_UJEM, 'C',  1, 0, "N",       P2, 13,  0, 43, "TN",    "", "Czy pozwalac na stany ujemne") \
  X(std::string, J_CENA_SR,  'C',  1, 0, "T",       P2, 14,  0, 43, "TN",    "", "Czy stosowac ceny sredniowazone") \
  X(std::string, J_CENA_BRU, 'C',  1, 0, "N",       P2, 15,  0, 43, "TN",    "", "Czy sprzedawac w cenach brutto") \
  X(std::string, J_UPUST,    'C',  1, 0, "N",       P2, 16,  0, 43, "TN",    "", "Czy zmieniac upust na pozycjach") \
  X(std::string, J_RABAT_AS, 'C',  1, 0, "T",       P2, 17,  0, 43, "TN",    "", "Czy liczyc rabat od cen z kartotek") \
  X(std::string, J_RAB_POZ,  'C',  1, 0, "N",       P2, 18,  0, 43, "TN",    "", "Czy rabat na kazdej pozycji faktury") \
  X(std::string, J_DOW1_MAG, 'C',  1, 0, "T",       P2, 19,  0, 43, "TN",    "", "Czy dowod tylko z jednego magazynu") \
  X(std::string, J_AUTO_ZAP, 'C',  1, 0, "N",       P2, 20,  0, 43, "TN",    "", "Czy zapisywac dowod po wydrukowaniu") \
  X(std::string, J_MAG00,    'C',  6, 0, " ",       P2, 21,  0, 38, "",      "", "Nie usuwac kartotek z magazynow") \
  X(std::string, J_INDEKS00, 'C',  2, 0, "  ",      P2, 22,  0, 42, "",      "", "Nie usuwac kartotek o indeksach") \
  X(std::string, J_WAL,      'C',  3, 0, "EUR",     P2, 23,  0, 41, "",      "", "Domyslna waluta eksportu") \
  X(std::string, J_WAL_AUTO, 'C',  1, 0, "N",       P2, 24,  0, 43, "TN",    "", "Przeliczac walute bez pytania") \
  /* page 2, right column */ \
  X(std::string, J_SD_SCAL,  'C',  1, 0, "N",       P2,  1, 45, 79, "TN",    "", "Czy scalac pozycje na SD") \
  X(std::string, J_MIN_MAX,  'C',  1, 0, "N",       P2,  2, 45, 79, "TN",    "", "Edytowac stany min/max w mag.") \
  X(std::string, J_TEN_SAM,  'C',  1, 0, "N",       P2,  3, 45, 79, "TN",    "", "Przerzut na ten sam indeks/DYSK") \
  X(std::string, J_ATEST_ZA, 'C',  1, 0, "N",       P2,  4, 45, 79, "TN",    "", "Czy drukowac atest na zamow.") \
  X(std::string, J_LACH,     'C',  1, 0, "N",       P2,  5, 45, 79, "TN",    "", "Handel wodka  (ceny urzedowe)") \
  X(std::string, J_KOD13W,   'C',  2, 0, "28",      P2,  6, 45, 78, "@KOD13W", "", "Kod kreskowy z wagi MEDESA") \
  X(std::string, J_KP_R,     'C', 25, 0, SPACE(25), P2,  7, 45, 52, "",      "", "KP-R :") \
  X(std::string, J_FAKTORIN, 'C', 12, 0, "FAKTORIN.TXT", P2, 8, 45, 68, "",  "", "Faktoring w pliku :") \
  X(std::string, J_PP_PLIK,  'C', 10, 0, SPACE(10), P2,  9, 45, 70, "",      "", "Przelewy w pliku  :") \
  X(std::string, J_MARZA_PZ, 'C',  1, 0, "N",       P2, 10, 45, 79, "TN",    "", "Marza tylko od ceny zakupu (PZ)") \
  X(int,         J_LEN_P,    'N',  1, 0, 4,         P2, 11, 45, 79, "",      "", "Ile znakow indeksu do pomocy") \
  X(int,         J_SPOWOLNI, 'N',  1, 0, 1,         P2, 12, 45, 79, "",      "", "Ile sekund pokazywac reszte") \
  X(int,         J_PAPIER,   'N',  2, 0, 10,        P2, 13, 45, 78, "",      "", "Ile pustych linii po FV") \
  X(int,         J_WW1,      'N',  2, 0, 0,         P2, 14, 45, 78, "",      "", "Linii na 1 stronie FV") \
  X(int,         J_WW2,      'N',  2, 0, 0,         P2, 15, 45, 78, "",      "", "Linii na nastepnych stronach") \
  X(std::string, J_KOD13_F5, 'C', 13, 0, "131313131313 ", P2, 16, 45, 67, "", "", "Kod konczacy paragon") \
  X(std::string, J_WALUTA,   'C',  1, 0, "T",       P2, 17, 45, 79, "TN",    "", "Czy obslugiwac waluty") \
  /* page 3, under its heading line */ \
  X(std::string, J_SD_POPRA, 'C',  1, 0, "T",       P3,  2,  0, 65, "TN",    "R1", "Pozwalasz poprawiac SD w czasie edycji") \
  X(std::string, J_MAG_DOPI, 'C', 10, 0, SPACE(10), P3,  3,  0, 65, "",      "", "Nowe kartoteki tylko na magazynach") \
  X(std::string, J_MAG_PRZY, 'C', 10, 0, SPACE(10), P3,  4,  0, 65, "",      "", "Nie blokowac przyjecia na magazynach") \
  X(int,         J_RAB_SD_K, 'N',  3, 0, 0,         P3,  5,  0, 65, "@GE0",  "", "Rabat na SD przy zakupach wiekszych od") \
  X(std::string, J_TANGO,    'C',  1, 0, "N",       P3,  6,  0, 65, "TN",    "", "Uzywasz kasy fiskalnej TANGO") \
  X(std::string, J_WZ_PRZEN, 'C',  1, 0, "N",       P3,  7,  0, 65, "TN",    "", "Przeniesc WZ na nowy miesiac") \
  X(std::string, J_SZUFLADA, 'C',  1, 0, "N",       P3,  8,  0, 65, "TN",    "", "Czy jest problem z otwarciem szuflady") \
  X(std::string, J_PZ_METKA, 'C',  1, 0, "N",       P3,  9,  0, 65, "TN",    "", "Czy proponowac metki przy PZ") \
  X(std::string, J_PATH,     'C', 30, 0, SPACE(30), P3, 10,  0, 40, "",      "", "Sciezka do centralnego programu") \
  X(int,         J_MIN_MARZ, 'N',  3, 0, 0,         P3, 11,  0, 65, "@MARZA", "MARZA.MIN", "Minimalna marza:") \
  X(std::string, J_FV_SALDO, 'C',  1, 0, "N",       P3, 12,  0, 65, "TN",    "", "Czy pisac na koncu faktury jakie jest aktualne zadluzenie [T/N]") \
  X(std::string, J_DATA_WAZ, 'C',  1, 0, "N",       P3, 13,  0, 65, "TN",    "", "Czy pytac o date waznosci towaru przy PZ i na kartotekach [T/N]") \
  X(std::string, J_ED_NIP,   'C',  1, 0, "N",       P3, 14,  0, 65, "TN",    "", "Pozwolic na edycje / poprawianie NIPu podczas edycji dow. [T/N]") \
  X(std::string, J_BLOKUJ_N, 'C',  1, 0, "T",       P3, 15,  0, 65, "TN",    "", "Blokowac tworzenie dwu roznych kartotek o tym samym NIPie [T/N]") \
  X(std::string, J_PTUA,     'C',  2, 0, "23",      P3, 17,  0, 12, "@PTU",  "", "Stawki PTU") \
  X(std::string, J_PTUB,     'C',  2, 0, " 8",      P3, 17, 15, 15, "@PTU",  "", "") \
  X(std::string, J_PTUC,     'C',  2, 0, " 5",      P3, 17, 18, 18, "@PTU",  "", "") \
  X(std::string, J_PTUD,     'C',  2, 0, " 0",      P3, 17, 21, 21, "@PTU",  "", "") \
  X(std::string, J_PTUE,     'C',  2, 0, "ZW",      P3, 17, 24, 24, "@PTU",  "", "") \
  X(std::string, J_PTUF,     'C',  2, 0, " 0",      P3, 17, 27, 27, "@PTU",  "", "") \
  X(std::string, J_PTUZ,     'C',  2, 0, " 0",      P3, 17, 30, 30, "@PTU",  "", "") \
  X(std::string, J_REKLAMA1, 'C', 40, 0, SPACE(40), P3, 18,  0, 22, "",      "", "Reklama na wydrukach 1:") \
  X(std::string, J_REKLAMA2, 'C', 40, 0, SPACE(40), P3, 19,  0, 22, "",      "", "Reklama na wydrukach 2:") \
  X(std::string, J_ST_TEKST, 'C', 80, 0, SPACE(80), P3, 20,  0, 17, "",      "", "Tekst staly 1  :") \
  X(std::string, J_ST_TEKS1, 'C', 80, 0, SPACE(80), P3, 21,  0, 17, "",      "", "Tekst staly 2  :") \
  X(std::string, J_FF2,      'C', 29, 0, SPACE(29), P3, 22,  0, 40, "",      "", "Folder wymiany z programem F-K") \
  /* the administrator editor */ \
  X(std::string, J_NAZWA,    'C', 18, 0, std::string(" OBSŁUGA HURTOWNI "_852), ADM, 0, 2, 27, "", "", "PARAMETRYZACJA PROGRAMU") \
  X(std::string, J_AUTOMAT,  'C',  1, 0, "N",       ADM,  2,  0, 53, "TN",   "", "Czy automatycznie ksiegowac po wydrukowaniu        ?") \
  X(std::string, J_KANTY,    'C',  1, 0, "N",       ADM,  3,  0, 53, "TN",   "", "Czy pamietac wszystkie kombinacje operatora        ?") \
  X(std::string, J_UZGADNIA, 'C',  1, 0, "T",       ADM,  4,  0, 53, "TN",   "", "Czy uzgadniac kartoteki przed zamknieciem miesiaca ?") \
  X(std::string, J_SKLEP,    'C',  1, 0, "N",       ADM,  5,  0, 53, "TN",   "", "Czy program obsluguje SKLEP (zmiana rd przy F4)    ?") \
  X(std::string, J_KOD13ZN,  'C',  1, 0, "N",       ADM,  6,  0, 53, "TN",   "", "Czy pole KOD13 jest znakowe ( N - ust. domyslne )  ?") \
  X(std::string, J_FVZMIENI, 'C',  1, 0, "T",       ADM,  7,  0, 53, "TN",   "", "Czy dowody sprzedazy zmieniaja stany magazynowe [T]?") \
  X(std::string, J_BLOKOWAC, 'C',  1, 0, "N",       ADM,  8,  0, 53, "TN",   "", "Czy blokowac sprzedaz niesolidnym platnikom  [N/T] ?") \
  X(int,         J_KARENCJA, 'N',  3, 0, 10,        ADM,  8, 56, 76, "@GE0", "", "Ilosc dni karencji:") \
  X(std::string, J_KOPIOWAC, 'C',  1, 0, "N",       ADM,  9,  0, 53, "TN",   "", "Czy robic kopie bezpieczenstwa przy wyjsciu  [N/T] ?") \
  X(std::string, J_GDZIE_VV, 'C',  1, 0, " ",       ADM, 10,  0, 53, "@LIT", "", "                       w jakim napedzie robic kopie:") \
  X(std::string, J_FV_WZ_SC, 'C',  1, 0, "N",       ADM, 11,  0, 53, "TN",   "", "FV do WZ-scalac pozycje wg.klucza mag+indeks [N/T] ?") \
  X(std::string, J_SD_GROSZ, 'C',  1, 0, "N",       ADM, 12,  0, 53, "TN",   "", "SD uzgadniac do raportu fiskalnego dobowego  [N/T] ?") \
  X(std::string, J_KSEF,     'C',  1, 0, "T",       ADM, 13,  0, 53, "TN",   "", "Czy wysylac e-faktury przy ksiegowaniu       [T/N] ?") \
  X(std::string, J_WITEK1,   'C', 35, 0, SPACE(35), ADM, 14,  0, 22, "",     "", "1 opcja instalatora :") \
  X(std::string, J_WITEK2,   'C', 35, 0, SPACE(35), ADM, 15,  0, 22, "",     "", "2 opcja instalatora :") \
  X(std::string, J_WITEK3,   'C', 35, 0, SPACE(35), ADM, 16,  0, 22, "",     "", "3 opcja instalatora :") \
  X(Decimal,     J_UBYTEK,   'N',  3, 1, Decimal(0), ADM, 17, 0, 27, "",     "NZ", "Wskaznik proc. ubytku [1]:") \
  X(Decimal,     J_UBYTEK2,  'N',  3, 1, Decimal(0), ADM, 18, 0, 27, "",     "NZ", "Wskaznik proc. ubytku [2]:") \
  X(Decimal,     J_RABAT29,  'N',  5, 2, Decimal(0), ADM, 19, 0, 27, "",     "KARTA29.TXT", "Rabat na karte st.klienta:") \
  X(Decimal,     J_MARZA29,  'N',  5, 2, Decimal(0), ADM, 20, 0, 27, "",     "KARTA29.TXT", "Marza na karte st.klienta:") \
  /* kept in the file, changed elsewhere */ \
  X(std::string, J_DF_NAZWA, 'C',  8, 0, "DF-300  ", NIE, 0,  0,  0, "",     "", "") \
  X(std::string, J_BOSS,     'C', 10, 0, "TUMP",    NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_DAT_OPE,  'C',  8, 0, "01/01/94", NIE, 0,  0,  0, "",     "", "") \
  X(std::string, J_TIM_OPE,  'C',  8, 0, "07:34:00", NIE, 0,  0,  0, "",     "", "") \
  X(std::string, J_GDZIE,    'C',  1, 0, " ",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_KATALOG,  'C',  8, 0, SPACE(8),  NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_NEC1,     'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_NEC2,     'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_ZM_INDEK, 'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_RABAT_ZB, 'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_ZAOKRAGL, 'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_NODB1,    'C',  1, 0, "N",       NIE,  0,  0,  0, "",     "", "") \
  X(std::string, J_ZAKUPU,   'C',  1, 0, "T",       NIE,  0,  0,  0, "",     "", "")
// clang-format on

#define SKLAD_SETTING_VAR(T, NAME, TYP, W, D, DEF, ...) SESSION_VAR(T, NAME, DEF);
SKLAD_SETTINGS(SKLAD_SETTING_VAR)
#undef SKLAD_SETTING_VAR

}  // namespace sklad
