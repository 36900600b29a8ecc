// Layouts of the document headers, settlements and their journal, document kinds, cash
// accounts and exchange rates.
#include "data/access.h"
#include "data/layouts.h"

namespace sklad {

std::string STRUKTURA_DOWOD(std::string_view path, const Fields& existing) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,S_Z       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,"
         "DATA      ,D,  8,  0,DATA_WYD  ,D,  8,  0,MAG       ,C,  1,  0,KTO       ,C,  1,  0,"
         "ODB       ,C,  8,  0,NIP_KRAJ  ,C,  2,  0,REGON     ,C, 13,  0,NODB      ,C, 50,  0,"
         "NODB1     ,C, 50,  0";
    if (FILE_X("NODB2.TXT")) s << "NODB2     ,C, 50,  0";
    s << FIELD_GROUP("UODB", 'C', FILE_X("UODB35.TXT") ? "35" : "25");
    s << "KODB      ,C,  6,  0,MODB      ,C, 20,  0,ODBIORCA  ,C,254,  0,ODBIORC1  ,C, 50,  0,"
         "WARTOSC0  ,N, 16,  2,NETTO     ,N, 18,  4,VAT       ,N, 14,  4,RESZTA    ,N, 14,  2,"
         "RESZTA0   ,C,  2,  0,RESZTA_P  ,N, 10,  2,SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,"
         "KWOTA     ,N, 16,  2";
    if (FILE_X("KWOTA2.TXT")) s << "SPZ2      ,C,  1,  0,TEZ2      ,N,  4,  0,KWOTA2    ,N, 12,  2";
    s << "ZAP       ,C,  1,  0,OPERATOR  ,C,  1,  0,KIER      ,C,  3,  0,KOMU      ,C,  8,  0,"
         "AUTO      ,C,  8,  0,OPA       ,N, 14,  2";
    if (FILE_X("NR_BANKU.TXT")) s << "NR_BANKU  ,N,  1,  0";
    if (FILE_X("ADRES.TXT") || FILE_X("ADRESPLA.TXT") || FILE_X("SPEC.TXT"))
        s << "ADRES     ,C, 50,  0,NR_ZAM    ,C, 30,  0";
    s << "JEZYK     ,C,  1,  0,WALUTA_X  ,C,  1,  0,WALUTA    ,C,  3,  0,KURS      ,N, 12,  6,"
         "DATA_KURSU,D,  8,  0,DOLAR     ,N, 14,  2,KURS_1    ,N, 12,  6";
    if (FILE_X("BONY.TXT"))
        s << "B100      ,N,  2,  0,B50       ,N,  2,  0,B20       ,N,  2,  0,B10       ,N,  2,  0,"
             "B05       ,N,  2,  0";
    if (HAS_FIELD(existing, "WAGA") || FILE_X("SPEC.TXT") || FILE_X("WAGA_FV.TXT") || FILE_X("WAL.TXT") ||
        FILE_X("WAL.DBF"))
        s << "WAGA      ,N, 12,  3";
    if (FILE_X("LOJAL.TXT")) s << "R_BM      ,N, 12,  2,X_BM      ,N, 12,  2,Y_BM      ,N, 12,  2";
    s << "DATA_FA   ,D,  8,  0";
    if (FILE_X("FV_ZAL.TXT"))
        s << "OPERATOR_Z,C,  1,  0,ZAM_DATA  ,D,  8,  0,ZAM_RD    ,C,  3,  0,ZAM_NRD   ,C,  8,  0,"
             "N22       ,N, 12,  2,V22       ,N, 12,  2,N07       ,N, 12,  2,V07       ,N, 12,  2";
    s << "JPK_XX    ,C, 20,  0,TYP_DOK   ,C,  6,  0,KSEF      ,C, 36,  0,KSEF_TN   ,C,  1,  0,"
         "R_RD      ,C,  3,  0,R_NRD     ,C,  8,  0,R_DATA    ,D,  8,  0,R_CZAS    ,C,  8,  0";
    return s.str();
}

std::string STRUKTURA_FA_N(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,DATA      ,D,  8,  0,"
         "MAG       ,C,  1,  0,TRESC     ,C, 17,  0,KTO       ,C,  1,  0,ODB       ,C,  8,  0,"
         "OBWN      ,N, 14,  2,OBMA      ,N, 14,  2,TERMIN    ,D,  8,  0,SPZ       ,C,  1,  0,"
         "TEZ       ,N,  4,  0,WALUTA_X  ,C,  1,  0,WALUTA    ,C,  3,  0,KURS      ,N, 12,  6,"
         "DATA_KURSU,D,  8,  0,DOLAR     ,N, 14,  2,KURS_1    ,N, 12,  6,ZAP       ,C,  1,  0";
    return s.str();
}

std::string STRUKTURA_FA_NX(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,DATA      ,D,  8,  0,"
         "MAG       ,C,  1,  0,TRESC     ,C, 17,  0,KTO       ,C,  1,  0,ODB       ,C,  8,  0,"
         "OBWN      ,N, 14,  2,OBMA      ,N, 14,  2,TERMIN    ,D,  8,  0,SPZ       ,C,  1,  0,"
         "TEZ       ,N,  4,  0,ZAP       ,C,  1,  0,WALUTA_X  ,C,  1,  0,WALUTA    ,C,  3,  0,"
         "KURS      ,N, 12,  6,DATA_KURSU,D,  8,  0,DOLAR     ,N, 14,  2,KURS_1    ,N, 12,  6,"
         "R_DATA    ,D,  8,  0,R_CZAS    ,C,  8,  0";
    return s.str();
}

std::string STRUKTURA_ROB_FA_N(std::string_view path) {
    StructureText s(path);
    s << "R_P       ,C,  1,  0,RD        ,C,  3,  0,NRD       ,C,  8,  0,DATA      ,D,  8,  0,"
         "MAG       ,C,  1,  0,TRESC     ,C, 17,  0,KTO       ,C,  1,  0,ODB       ,C,  8,  0,"
         "OBWN      ,N, 14,  2,OBMA      ,N, 14,  2,TERMIN    ,D,  8,  0,SPZ       ,C,  1,  0,"
         "TEZ       ,N,  4,  0,ZAP       ,C,  1,  0";
    return s.str();
}

std::string STRUKTURA_SLOW(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "RD        ,C,  3,  0,OPIS      ,C, 74,  0,R_P       ,C,  1,  0,S_Z       ,C,  1,  0,"
         "CUV       ,C,  1,  0,NRD       ,N,  8,  0,KTO       ,C,  1,  0,MAG       ,C,  1,  0,"
         "JPK_N     ,C,  3,  0,JPK_V     ,C,  3,  0,JPK_N2    ,C,  3,  0,JPK_V2    ,C,  3,  0,"
         "JPK_XX    ,C, 20,  0,TYP_DOK   ,C,  6,  0,KSEF_TN   ,C,  1,  0,POZIOM    ,N,  1,  0,"
         "WN        ,C, 16,  0,MA        ,C, 16,  0,N_WN      ,C, 16,  0,N_MA      ,C, 16,  0,"
         "V_WN      ,C, 16,  0,V_MA      ,C, 16,  0,N_RR_WN   ,C, 16,  0,N_RR_MA   ,C, 16,  0,"
         "KOMU      ,C,  8,  0,GRUPA     ,C,  8,  0,CDN_OPIS  ,C, 50,  0,CDN_RT    ,C, 50,  0,"
         "CDN_RV    ,C,  1,  0,GR_RD     ,C, 10,  0,BANK      ,C,  8,  0,NB        ,C,  1,  0,"
         "UZGODNIC  ,C,  1,  0";
    return s.str();
}

std::string STRUKTURA_PK(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "NRKON     ,C, 16,  0,CZLON     ,N,  1,  0,POZIOM    ,N,  1,  0,NAZWA     ,C, 32,  0,"
         "KONTYP    ,N,  1,  0,MAJWYN    ,C,  1,  0,BOWN      ,N, 15,  2,BOMA      ,N, 15,  2,"
         "OBNAWN    ,N, 15,  2,OBNAMA    ,N, 15,  2,OBWN      ,N, 15,  2,OBMA      ,N, 15,  2,"
         "POWN      ,N, 15,  2,POMA      ,N, 15,  2,SK_WN     ,N, 15,  2";
    return s.str();
}

std::string STRUKTURA_WAL(std::string_view path, const Fields&) {
    StructureText s(path);
    s << "WALUTA    ,C,  3,  0,DATA      ,D,  8,  0,KURS      ,N, 12,  6,DATA_KURSU,D,  8,  0";
    return s.str();
}

}  // namespace sklad
