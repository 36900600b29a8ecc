#pragma once
// The record layouts of the catalogue's tables, as structure strings for TWORZ: the table's path,
// then name, type, width and decimals per field. Optional groups are switched on by marker files
// in the working folder (tested each time a layout is asked for) and, where a group says so, by
// the fields the table already has, so that an upgrade never drops them.

#include <string>
#include <string_view>
#include <vector>

#include "data/engine.h"

namespace sklad {

using Fields = std::vector<FieldDef>;

// Width texts of the bar-code and lot fields as structure strings write them: "20", "18", "16",
// "14" or "13" (markers KOD20.TXT, KOD18.TXT, KOD16.TXT, KOD14.TXT, the first found); "10" with
// PARTIA10.TXT, else " 5".
std::string KOD14();
std::string PARTIA5();

// The field of that name (any letter case) in `fields`; nullptr when there is none.
const FieldDef* FIND_FIELD(const Fields& fields, std::string_view name);
bool HAS_FIELD(const Fields& fields, std::string_view name);

// A structure string built group by group: the path, then each group of fields written as the
// program writes them ("MAG       ,C,  1,  0,INDEKS    ,C,  8,  0").
class StructureText {
  public:
    explicit StructureText(std::string_view path) : text_(path) {}
    StructureText& operator<<(std::string_view group) {
        text_ += ',';
        text_ += group;
        return *this;
    }
    const std::string& str() const { return text_; }

  private:
    std::string text_;
};

// One field's group with a width given as text (KOD14(), PARTIA5()): name padded to 10, the
// width right-aligned in 3.
std::string FIELD_GROUP(std::string_view name, char type, std::string_view width, int decimals = 0);

// Stock cards, entry lines and document lines (layouts_stock.cpp).
std::string STRUKTURA_AS(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_DD(std::string_view path);
std::string STRUKTURA_DD_QR(std::string_view path);
std::string STRUKTURA_DOW(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_DOW_QR(std::string_view path, const Fields& existing = {});

// Headers, settlements, kinds, accounts, rates (layouts_trade.cpp).
std::string STRUKTURA_DOWOD(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_FA_N(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_FA_NX(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_ROB_FA_N(std::string_view path);
std::string STRUKTURA_SLOW(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_PK(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_WAL(std::string_view path, const Fields& existing = {});

// The firm table and the contractor files (layouts_parties.cpp). `slots` is the width of ST.
std::string STRUKTURA_FIRMA(std::string_view path, int slots);
std::string STRUKTURA_ZO(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_ZD(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_ZP(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_ZF(std::string_view path, const Fields& existing = {});
std::string STRUKTURA_ZN(std::string_view path, const Fields& existing = {});

}  // namespace sklad
