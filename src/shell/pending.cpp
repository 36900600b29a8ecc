#include "shell/pending.h"

namespace sklad {

bool DBU_AS(std::string_view /*start*/) { return true; }
void OFERTA_HANDLOWA() {}
void ZAMOW_AS(std::string_view /*mode*/) {}
void NC_ZAM() {}
void R_CO_SS() {}
void POMPOWANIE_MAGAZYNU() {}
void DBU_WW() {}
bool DBU_ZO() { return true; }
void RAP_D_W() {}
void DBU_TERM() {}
void FV_NIEZAPLACONE(bool /*all*/) {}
void NORTON(std::string_view /*mask*/) {}
bool ODT_GEST() { return false; }  // nothing done yet
bool DBU_DOW(int /*mode*/) { return true; }
void OTB_DOWODY() {}
void DBU_RD(bool /*tax_mode*/) {}
void ODS_BROWSE(int /*top*/, int /*left*/, int /*bottom*/, int /*right*/) {}
void DF_300() {}
void EFT_MENU() {}
void WAL_BROWSER() {}
void SZUKANIE_KWOTY() {}
void SZUKANIE_RD_NRD() {}
void GENERUJ_FV_DO_WZ() {}
bool OTB_RWZ() { return false; }  // nothing done yet
bool KOP_DDMMRR(int /*mode*/) { return false; }  // nothing done yet
void DBU_RAP(int /*mode*/) {}
void CZYT_KP_KW() {}
void _RAPORTY() {}
void _REJESTRY() {}
void _ROTACJA() {}
void _OBROTY() {}
void _ZESTAWIENIE() {}
void _ZYSKOWNOSC() {}
void _PREMIE() {}
void IN_ARC() {}
void JPK_VAT() {}
void JPK_V7M(std::string_view /*variant*/) {}
void CDN_XML(std::string_view /*what*/) {}
void ZROB_BLAT_DBF() {}
void CZYT_REFA() {}
bool ARC_DBF(std::string_view /*mode*/) { return false; }  // nothing done yet
bool ARC_DBF_AKWIZ(std::string_view /*warehouses*/) { return false; }  // nothing done yet
void UNARC_DBF() {}
void KOP_DLA_FK() {}
bool CREATE_M_NEW(std::string_view /*period*/) { return false; }  // nothing done yet
void M_CLOSE() {}
void M_CLOSE_FA_N() {}
void USTAW_DATE(int /*what*/) {}
bool USTAW_CZAS() { return false; }  // nothing done yet
bool ZM_BMR() { return false; }  // nothing done yet
void ZEROWANIE() {}
void MEDIT(std::string_view /*file*/) {}
void SD_SCAL() {}
void CZYTAJ_ROB0() {}
void ZmianaKierowcy() {}
void oTB_ZAM() {}
void DBU_zam_nag() {}
void TB_cFaktury() {}

}  // namespace sklad
