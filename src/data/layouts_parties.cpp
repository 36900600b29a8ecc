// Layouts of the firm table and of the five contractor files.
#include "data/access.h"
#include "data/layouts.h"

namespace sklad {

namespace {

// The name lines (with or without NODB1), street, town, bank and the eight balance and turnover
// fields, the tax number and the contact fields up to KIER: the part every contractor file shares.
void contractor_head(StructureText& s, bool second_name, bool third_name, std::string_view street_width) {
    s << "ODB       ,C,  8,  0,NODB      ,C, 50,  0";
    if (second_name) s << "NODB1     ,C, 50,  0";
    if (third_name) s << "NODB2     ,C, 50,  0";
    s << FIELD_GROUP("UODB", 'C', street_width);
    s << "KODB      ,C,  6,  0,MODB      ,C, 20,  0,BODB      ,C, 30,  0,NRBO      ,C, 40,  0,"
         "BOWN      ,N, 15,  2,BOMA      ,N, 15,  2,OBNAWN    ,N, 15,  2,OBNAMA    ,N, 15,  2,"
         "OBWN      ,N, 15,  2,OBMA      ,N, 15,  2,POWN      ,N, 15,  2,POMA      ,N, 15,  2,"
         "NIP_KRAJ  ,C,  2,  0,REGON     ,C, 13,  0,NIP1      ,C,  1,  0";
}

void contact_tail(StructureText& s) { s << "TEL       ,C, 20,  0,NOTES     ,C, 60,  0,K_E       ,C,  1,  0,KIER      ,C,  3,  0"; }

// zp and zn: zd without NODB1; zp may carry the holiday field.
std::string employees(std::string_view path, bool holiday) {
    StructureText s(path);
    contractor_head(s, false, false, "25");
    contact_tail(s);
    s << "SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,KREDYT    ,N,  9,  0,E_MAIL    ,C, 40,  0,"
         "E_UWAGI   ,C, 50,  0";
    if (holiday && FILE_X("URLOP.TXT")) s << "URLOP     ,N,  5,  0";
    s << "NR_INI    ,C,  1,  0,DATA_INI  ,D,  8,  0";
    return s.str();
}

}  // namespace

std::string STRUKTURA_FIRMA(std::string_view path, int slots) {
    StructureText s(path);
    s << "ODB       ,C,  8,  0,NODB      ,C, 30,  0,NODB1     ,C, 30,  0,NODB2     ,C, 30,  0,"
         "NODB3     ,C, 30,  0,NODB4     ,C, 30,  0,UODB      ,C, 25,  0,KODB      ,C,  6,  0,"
         "MODB      ,C, 18,  0,BODB      ,C, 54,  0,NRBO      ,C, 40,  0,WYCIAGI   ,C, 30,  0,"
         "BODB1     ,C, 54,  0,NRBO1     ,C, 40,  0,WYCIAGI1  ,C, 30,  0,BODB2     ,C, 54,  0,"
         "NRBO2     ,C, 40,  0,WYCIAGI2  ,C, 30,  0,BODB3     ,C, 54,  0,NRBO3     ,C, 40,  0,"
         "WYCIAGI3  ,C, 30,  0,BODB4     ,C, 54,  0,NRBO4     ,C, 40,  0,WYCIAGI4  ,C, 30,  0";
    s << "NIP_KRAJ  ,C,  2,  0,REGON     ,C, 13,  0,TEL       ,C, 25,  0,E_MAIL    ,C, 40,  0,"
         "E_UWAGI   ,C, 50,  0,SMTP      ,C, 30,  0,BDO       ,C, 13,  0,REGON0    ,C, 13,  0,"
         "KRS_NR    ,C, 13,  0,KRS_SAD   ,C, 80,  0,KAPITAL   ,N, 12,  0,KOD_POD   ,C, 13,  0,"
         "OD_GODZ   ,N,  5,  2,DO_GODZ   ,N,  5,  2,SOBOTA_OD ,N,  5,  2,SOBOTA_DO ,N,  5,  2,"
         "HASLO     ,C, 10,  0,AB        ,C,  1,  0,NR_RK     ,C,  6,  0,BMR       ,C,  5,  0,"
         "FK        ,C, 16,  0,KP        ,N,  8,  0,KW        ,N,  8,  0,NO        ,N,  8,  0,"
         "KP_KW     ,N,  8,  0,KP_       ,N,  8,  0,WE        ,N,  8,  0";
    s << FIELD_GROUP("ST", 'C', std::to_string(slots));
    s << "ODDZIAL   ,C, 18,  0,DEKRET    ,N,  8,  0";
    return s.str();
}

std::string STRUKTURA_ZO(std::string_view path, const Fields&) {
    StructureText s(path);
    contractor_head(s, true, FILE_X("NODB2.TXT"), FILE_X("UODB35.TXT") ? "35" : "25");
    s << "TRASA     ,C,  8,  0,MIEJSCE   ,C, 60,  0,MIEJSCE2  ,C, 60,  0";
    contact_tail(s);
    s << "SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,RABAT     ,N,  6,  2";
    if (FILE_X("RABAT2ZO.TXT")) s << "RABAT2    ,N,  6,  2,RABAT3    ,N,  6,  2";
    s << "KREDYT    ,N,  9,  0,KARENCJA  ,N,  3,  0";
    if (FILE_X("TARGET.TXT")) s << "TARGET    ,N,  9,  0";
    if (FILE_X("PLATNIK.TXT")) s << "PLATNIK   ,C,  8,  0";
    if (FILE_X("REGION.TXT")) s << "REGION    ,C,  8,  0";
    s << "KOMU      ,C,  8,  0";
    if (FILE_X("KOD_QR.TXT")) s << "KOD_POD   ,C, 13,  0";
    s << "AUTO      ,C,  8,  0,POZIOM    ,N,  1,  0";
    if (FILE_X("LOJAL.TXT")) s << "S_BM      ,N, 12,  2,R_BO      ,N, 12,  2,R_BM      ,N, 12,  2,X_BM      ,N, 12,  2";
    s << "STOPA     ,C,  8,  0,KOPIE     ,N,  1,  0,RD        ,C,  3,  0,R_DATA    ,D,  8,  0,"
         "E_MAIL    ,C, 40,  0,E_UWAGI   ,C, 50,  0,ILOSC     ,N,  8,  0,DATA_KON  ,D,  8,  0,"
         "DATA_KO2  ,D,  8,  0,NR_INI    ,C,  1,  0,DATA_INI  ,D,  8,  0";
    return s.str();
}

std::string STRUKTURA_ZD(std::string_view path, const Fields&) {
    StructureText s(path);
    contractor_head(s, true, false, "25");
    contact_tail(s);
    s << "SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,KREDYT    ,N,  9,  0,E_MAIL    ,C, 40,  0,"
         "E_UWAGI   ,C, 50,  0,NR_INI    ,C,  1,  0,DATA_INI  ,D,  8,  0";
    return s.str();
}

std::string STRUKTURA_ZP(std::string_view path, const Fields&) { return employees(path, true); }

std::string STRUKTURA_ZF(std::string_view path, const Fields&) {
    StructureText s(path);
    contractor_head(s, false, false, "25");
    contact_tail(s);
    s << "KOMU      ,C,  8,  0";
    if (FILE_X("KOD_QR.TXT")) s << "KOD_POD   ,C, 13,  0";
    s << "AUTO      ,C,  8,  0,SPZ       ,C,  1,  0,TEZ       ,N,  4,  0,KREDYT    ,N,  9,  0,"
         "E_MAIL    ,C, 40,  0,E_UWAGI   ,C, 50,  0,NR_INI    ,C,  1,  0,DATA_INI  ,D,  8,  0";
    return s.str();
}

std::string STRUKTURA_ZN(std::string_view path, const Fields&) { return employees(path, false); }

}  // namespace sklad
