// Layouts of the stock cards, the workstation's entry lines and the document lines.
#include "data/access.h"
#include "data/layouts.h"
#include "data/session.h"

namespace sklad {

namespace {

// "PODATEK0  ,C,  2,  0", or four wide with VAT_13_5.TXT.
std::string vat_rate_group() { return FIELD_GROUP("PODATEK0", 'C', FILE_X("VAT_13_5.TXT") ? "4" : "2"); }

}  // namespace

std::string KOD14() {
    for (const char* width : {"20", "18", "16", "14"})
        if (FILE_X(std::string("KOD") + width + ".TXT")) return width;
    return "13";
}

std::string PARTIA5() { return FILE_X("PARTIA10.TXT") ? "10" : " 5"; }

const FieldDef* FIND_FIELD(const Fields& fields, std::string_view name) {
    for (const FieldDef& f : fields) {
        if (f.name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i)
            same = (f.name[i] | 0x20) == (name[i] | 0x20);
        if (same) return &f;
    }
    return nullptr;
}

bool HAS_FIELD(const Fields& fields, std::string_view name) { return FIND_FIELD(fields, name) != nullptr; }

std::string FIELD_GROUP(std::string_view name, char type, std::string_view width, int decimals) {
    std::string n(name);
    n.resize(10, ' ');
    std::string w(width);
    while (w.size() < 3) w.insert(w.begin(), ' ');
    std::string d = std::to_string(decimals);
    while (d.size() < 3) d.insert(d.begin(), ' ');
    return n + "," + type + "," + w + "," + d;
}

std::string STRUKTURA_AS(std::string_view path, const Fields& existing) {
    auto has = [&](std::string_view f) { return HAS_FIELD(existing, f); };
    StructureText s(path);
    s << "MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,NAZWA     ,C, 30,  0";
    if (has("NAZWA1") || FILE_X("NAZWA1.AS")) s << "NAZWA1    ,C, 40,  0";
    s << "JM        ,C,  3,  0,SWW       ,C,  8,  0,PKWIU     ,C, 10,  0,CENA_01   ,N, 16,  6,"
         "CENA0     ,N, 16,  6,CENA_PZ   ,N, 16,  6,CENA_UZ   ,N, 12,  2";
    s << vat_rate_group();
    s << "UPUST0    ,N,  6,  2,ODB       ,C,  8,  0,N_BO_I    ,N, 19,  3,N_BO_W    ,N, 19,  2,"
         "N_P_I     ,N, 19,  3,N_R_I     ,N, 19,  3,B_BO_I    ,N, 19,  3,B_BO_W    ,N, 19,  4,"
         "B_P_I     ,N, 19,  3,B_P_W     ,N, 19,  2,B_R_I     ,N, 19,  3,B_R_I_SD  ,N, 19,  3,"
         "B_R_W     ,N, 19,  2,CENA      ,N, 14,  2,CENA2     ,N, 14,  2";
    if (FILE_X("CENA3.TXT")) s << "CENA3     ,N, 14,  2";
    s << "WALUTA    ,C,  3,  0,CENAM     ,N, 14,  2,CENA2M    ,N, 14,  2,ILOSC     ,N, 19,  3,"
         "REZERWA   ,N, 15,  3,REZERWA0  ,N, 15,  3,REZERWA9  ,N, 15,  3";
    if (FILE_X("AS_CENY.TXT"))
        s << "ILOSC_1   ,N,  4,  0,CENA_1    ,N,  6,  2,ILOSC_2   ,N,  4,  0,CENA_2    ,N,  6,  2";
    s << "OP        ,N,  7,  2,OPA_MAG1  ,C,  1,  0,OPA_ILO1  ,N,  4,  2,OPA_MAG2  ,C,  1,  0,"
         "OPA_ILO2  ,N,  2,  0,OPA_MAG3  ,C,  1,  0,OPA_ILO3  ,N,  4,  0,T_W_O_K   ,C,  8,  0,"
         "PODGRUPA  ,C,  8,  0,GR_TOW    ,C,  2,  0,OFERTA    ,C,  1,  0,PMIN      ,N,  6,  0,"
         "PMAX      ,N,  6,  0,PZAM      ,N,  6,  0,S_Z_PZ    ,C,  1,  0,DATA_PZ   ,D,  8,  0,"
         "RD_PZ     ,C,  3,  0,NRD_PZ    ,C,  8,  0,TEZ_PZ    ,N,  3,  0,ILOSC_PZ  ,N, 14,  3";
    if (FILE_X("UBYTEK.AS"))
        s << "UBYTEK_MIN,N,  5,  1,UBYTEK    ,N,  4,  1,UBYTEK_D1 ,D,  8,  0,UBYTEK_D2 ,D,  8,  0";
    s << "DATA_SD   ,D,  8,  0,ILOSC_SD  ,N, 14,  3";
    if (FILE_X("RABAT.SD")) s << "RABAT_SD  ,N,  6,  2";
    s << "DATA_BO   ,D,  8,  0,DATA_ZB   ,D,  8,  0,TEZ       ,N,  4,  0,ATEST     ,C, 23,  0";
    if (FILE_X("GRAM.JM")) s << "TOW_GRAM  ,N,  8,  3,TOW_JM    ,C,  3,  0";
    if (FILE_X("TARA.JM")) s << "TOW_TARA  ,N,  5,  3";
    if (FILE_X("HEKTO.TXT")) s << "HEKTO     ,N, 11,  4";
    if (FILE_X("REFUN.TXT")) s << "REFUN     ,N,  6,  2";
    s << "PRODUCENT ,C, 20,  0,KRAJ      ,C, 10,  0,KIER      ,C,  3,  0";
    const bool excise = FILE_X("AKCYZA.TXT");
    const bool cn = FILE_X("KOD_CN.TXT");
    if (excise || cn) s << "KOD_CN    ,C, 10,  0";
    if (cn) s << "KRAJ_POCH ,C,  3,  0";
    if (excise) s << "WAR_OPAL  ,N,  6,  2,STA_AKCY  ,N,  6,  2";
    if (FILE_X("PARTIA.TXT")) {
        for (const char* n : {"", "2", "3", "4"}) {
            s << FIELD_GROUP(std::string("PARTIA") + n, 'C', PARTIA5());
            s << FIELD_GROUP(std::string("ILOSC_P") + n, 'N', "10", 3);
            s << FIELD_GROUP(std::string("ILOSC_WYD") + n, 'N', "10", 3);
            s << FIELD_GROUP(std::string("TPS_P") + n, 'D', "8");
        }
        s << "TPS       ,N,  3,  0,TPSS      ,N,  3,  0,PARTIA_X  ,C,  1,  0,PARTIA_XL ,C,  1,  0,"
             "PARTIA_SL ,C,  1,  0";
    }
    s << "NR_SERII  ,C, 13,  0";
    if (FILE_X("NRPARTII.TXT")) s << "NRPARTII  ,C, 30,  0";
    if (has("WAGA_OPA") || FILE_X("WAGA.TXT")) s << "WAGA      ,N,  8,  3,WAGA_OPA  ,C,  1,  0";
    if (has("SUR") || FILE_X("SUR.TXT")) s << "SUR       ,C,  8,  0";
    if (has("KOD13") || FILE_X("KOD13.TXT")) s << FIELD_GROUP("KOD13", 'C', KOD14());
    if (FILE_X("KOD13DIS.TXT")) s << FIELD_GROUP("KOD13DISP", 'C', KOD14());
    if (FILE_X("NEW_IND.TXT")) s << "NEW_INDEKS,C,  8,  0";
    if (FILE_X("PROWIZJA.TXT")) s << "PROWIZJA  ,N, 10,  2";
    if (FILE_X("INDEKS1.TXT")) s << "MAG1      ,C,  1,  0,INDEKS1   ,C,  8,  0";
    s << "CENA_ZB   ,N, 16,  6,DATA_INI  ,D,  8,  0,DATA      ,D,  8,  0";
    return s.str();
}

std::string STRUKTURA_DD(std::string_view path) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,S_Z       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,"
         "DATA      ,D,  8,  0,MAG       ,C,  1,  0,LP        ,C,  3,  0,KTO       ,C,  1,  0,"
         "ODB       ,C,  8,  0,SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,INDEKS    ,C,  8,  0,"
         "NAZWA     ,C, 30,  0";
    if (FILE_X("NAZWA46.TXT")) s << "NAZWA1    ,C, 16,  0";
    s << "NAZWA_EX  ,C, 30,  0,KOD_CN    ,C, 10,  0,JM        ,C,  3,  0,UPUST_01  ,N,  5,  1,"
         "UPUST0    ,N,  5,  1,CENA0     ,N, 16,  6,CENA      ,N, 16,  6,NB        ,C,  1,  0,"
         "ILOSC     ,N, 14,  3,ILOSC_OPA ,N, 14,  3,WARTOSC   ,N, 18,  2";
    s << vat_rate_group();
    s << "PODATEK   ,N, 14,  2,BRUTTO    ,N, 18,  2,ILOSC_WZ  ,N, 14,  3,FE_CENA   ,N, 12,  2,"
         "FE_WAL    ,C,  3,  0,FE_KURS   ,N, 12,  6,FE_NETTO  ,N, 12,  2,KOMU      ,C,  1,  0,"
         "SWW       ,C,  8,  0,PKWIU     ,C, 10,  0,DOLAR_I   ,N, 14,  2,NR        ,C,  1,  0,"
         "TRESC     ,C, 17,  0,KOREKTA   ,N, 14,  3";
    if (FILE_X("PARTIA.TXT")) s << FIELD_GROUP("PARTIA", 'C', PARTIA5()) << "TPS_P     ,D,  8,  0";
    if (FILE_X("PARTIA20.TXT"))
        s << "WYDANO2   ,N, 10,  3" << FIELD_GROUP("PARTIA2", 'C', PARTIA5()) << "TPS_P2    ,D,  8,  0";
    if (FILE_X("OPAK.DBF")) s << "VAT_RD    ,C,  3,  0,VAT_NRD   ,C,  8,  0,VAT_DATA  ,D,  8,  0,VAT_CZAS  ,C,  5,  0";
    s << "FISKALNA  ,C,  1,  0" << FIELD_GROUP("KOD13", 'C', KOD14());
    s << "DOST      ,C,  8,  0,CENNIK    ,C,  1,  0,T_W_O_K   ,C,  8,  0,PODGRUPA  ,C,  8,  0,"
         "PRODUCENT ,C, 10,  0";
    if (FILE_X("NR_SERII.TXT")) s << "NR_SERII  ,C, 13,  0";
    if (FILE_X("NRPARTII.TXT")) s << "NRPARTII  ,C, 30,  0";
    if (FILE_X("UWAGI.DOW")) s << "UWAGI     ,C, 50,  0";
    if (FILE_X("INDEKS1.TXT")) s << "MAG1      ,C,  1,  0,INDEKS1   ,C,  8,  0";
    if (FILE_X("PROWIZJA.TXT")) s << "PROWIZJA  ,N, 10,  2";
    if (FILE_X("DD_WAGA.TXT")) s << "ATRYBUT   ,C,  8,  0,WARTOSC0  ,N, 18,  2";
    s << "WAGA      ,N, 10,  3,ILOSC_EDI ,N, 14,  3,CENA_EDI  ,N, 16,  6,JM_EDI    ,C,  3,  0,"
         "OD_DNIA   ,D,  8,  0,DO_DNIA   ,D,  8,  0,DATA_PZ   ,D,  8,  0,CENA_PZ   ,N, 16,  6,"
         "CENAM     ,N, 14,  2,CENA_N    ,N, 14,  2,CENA_B    ,N, 14,  2,CENA2_OLD ,N, 14,  2,"
         "CENA2_NEW ,N, 14,  2";
    return s.str();
}

std::string STRUKTURA_DD_QR(std::string_view path) {
    StructureText s(path);
    s << "RD        ,C,  3,  0,NRD       ,C,  8,  0,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,"
         "KOD_QR    ,C, 67,  0,X         ,C,  1,  0";
    return s.str();
}

std::string STRUKTURA_DOW(std::string_view path, const Fields& existing) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,S_Z       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,"
         "DATA      ,D,  8,  0,MAG       ,C,  1,  0,LP        ,C,  3,  0,KTO       ,C,  1,  0,"
         "ODB       ,C,  8,  0,INDEKS    ,C,  8,  0,NAZWA     ,C, 30,  0";
    if (FILE_X("NAZWA46.TXT")) s << "NAZWA1    ,C, 16,  0";
    s << "NAZWA_EX  ,C, 30,  0,JM        ,C,  3,  0,UPUST0    ,N,  5,  1,CENA0     ,N, 16,  6,"
         "CENA      ,N, 16,  6,NB        ,C,  1,  0,ILOSC     ,N, 15,  3,WARTOSC   ,N, 18,  2";
    s << vat_rate_group();
    s << "PODATEK   ,N, 14,  2,KOMU      ,C,  1,  0,AUTO      ,C,  8,  0,SWW       ,C,  8,  0,"
         "PKWIU     ,C, 10,  0,DOLAR_I   ,N, 14,  2,NR        ,C,  1,  0";
    if (FILE_X("PARTIA.TXT")) s << FIELD_GROUP("PARTIA", 'C', PARTIA5()) << "TPS_P     ,D,  8,  0";
    if (FILE_X("PARTIA20.TXT"))
        s << "WYDANO2   ,N, 10,  3" << FIELD_GROUP("PARTIA2", 'C', PARTIA5()) << "TPS_P2    ,D,  8,  0";
    // Bar codes follow the stock cards; lines that already carry them keep them.
    if (JEST_KOD13 || HAS_FIELD(existing, "KOD13")) s << FIELD_GROUP("KOD13", 'C', KOD14());
    if (FILE_X("NR_SERII.TXT")) s << "NR_SERII  ,C, 13,  0";
    if (FILE_X("NRPARTII.TXT")) s << "NRPARTII  ,C, 30,  0";
    if (FILE_X("UWAGI.DOW")) s << "UWAGI     ,C, 50,  0";
    if (FILE_X("PROWIZJA.TXT")) s << "PROWIZJA  ,N, 10,  2";
    s << "CENA_N    ,N, 14,  2,CENA_B    ,N, 14,  2";
    return s.str();
}

std::string STRUKTURA_DOW_QR(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "RD        ,C,  3,  0,NRD       ,C,  8,  0,DATA      ,D,  8,  0,ODB       ,C,  8,  0,"
         "MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,KOD_QR    ,C, 67,  0,R_RD      ,C,  3,  0,"
         "R_NRD     ,C,  8,  0,R_DATA    ,D,  8,  0,R_ODB     ,C,  8,  0,X         ,C,  1,  0";
    return s.str();
}

}  // namespace sklad
