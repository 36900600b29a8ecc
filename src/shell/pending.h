#pragma once
// The routines the menus and the start-up call whose work is built elsewhere or later. Each
// returns at once (with success where it answers) until its issue replaces it here; routines the
// system has no body for stay here for good.

#include <string>
#include <string_view>

namespace sklad {

// ---- stock and orders
bool DBU_AS(std::string_view start);
void OFERTA_HANDLOWA();
void ZAMOW_AS(std::string_view mode = "");
void NC_ZAM();
void R_CO_SS();
void POMPOWANIE_MAGAZYNU();
void DBU_WW();

// ---- contractors and settlements
bool DBU_ZO();
void RAP_D_W();
void DBU_TERM();
void FV_NIEZAPLACONE(bool all);
void NORTON(std::string_view mask);
bool ODT_GEST();

// ---- documents
bool DBU_DOW(int mode);
void OTB_DOWODY();
void DBU_RD(bool tax_mode = false);
void ODS_BROWSE(int top, int left, int bottom, int right);
void DF_300();
void EFT_MENU();
void WAL_BROWSER();
void SZUKANIE_KWOTY();
void SZUKANIE_RD_NRD();
void GENERUJ_FV_DO_WZ();
bool OTB_RWZ();
bool KOP_DDMMRR(int mode);
void DBU_RAP(int mode);
void CZYT_KP_KW();

// ---- reports
void _RAPORTY();
void _REJESTRY();
void _ROTACJA();
void _OBROTY();
void _ZESTAWIENIE();
void _ZYSKOWNOSC();
void _PREMIE();
void IN_ARC();
void JPK_VAT();
void JPK_V7M(std::string_view variant);
void CDN_XML(std::string_view what);

// ---- special functions
void ZROB_BLAT_DBF();
void CZYT_REFA();
bool ARC_DBF(std::string_view mode = "");
bool ARC_DBF_AKWIZ(std::string_view warehouses);
void UNARC_DBF();
void KOP_DLA_FK();
bool CREATE_M_NEW(std::string_view period);
void M_CLOSE();
void M_CLOSE_FA_N();
void USTAW_DATE(int what);
bool USTAW_CZAS();
bool ZM_BMR();
void ZEROWANIE();
void MEDIT(std::string_view file);
void SD_SCAL();

// ---- documents parked in ROB0 by an interrupted copy, read back at start-up
void CZYTAJ_ROB0();

// ---- driver mode (no body in the system)
void ZmianaKierowcy();
void oTB_ZAM();
void DBU_zam_nag();
void TB_cFaktury();

}  // namespace sklad
