#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/table/expr.h"
#include "platform/text/cp852.h"

namespace platform::table {
namespace {

Decimal num(std::string_view s) { return *Decimal::parse(s); }

// One in-memory record, readable either through Values or, as a table's buffer is, through
// its DBF bytes; `raw` picks which path the bindings offer.
class FakeRecord {
  public:
    void add(std::string name, FieldType type, int width, int decimals, Value v) {
        defs_.push_back({std::move(name), type, width, decimals});
        values_.push_back(std::move(v));
        rebuild();
    }
    void set(std::string_view name, Value v) {
        values_[index(name)] = std::move(v);
        rebuild();
    }
    std::optional<FieldBinding> bind(std::string_view name, bool raw) {
        std::size_t i = index(name);
        if (i == defs_.size()) return std::nullopt;
        FieldBinding b{defs_[i], [this, i] { return values_[i]; }};
        if (raw) {
            b.get = nullptr;
            b.raw = &data_;
            b.offset = offsets_[i];
        }
        return b;
    }

  private:
    std::size_t index(std::string_view name) const {
        std::size_t i = 0;
        while (i < defs_.size() && defs_[i].name != name) ++i;
        return i;
    }
    // The DBF form of every field, as a table buffer holds it.
    void rebuild() {
        buffer_.clear();
        offsets_.clear();
        for (std::size_t i = 0; i < defs_.size(); ++i) {
            const FieldDef& d = defs_[i];
            offsets_.push_back(buffer_.size());
            std::string text;
            if (auto* s = std::get_if<std::string>(&values_[i])) text = *s;
            if (auto* n = std::get_if<Decimal>(&values_[i])) text = n->str(d.width, d.decimals);
            if (auto* dt = std::get_if<Date>(&values_[i])) text = dt->dtos();
            if (auto* l = std::get_if<bool>(&values_[i])) text = *l ? "T" : "F";
            text.resize(static_cast<std::size_t>(d.width), ' ');
            buffer_ += text;
        }
        data_ = buffer_.data();
    }

    std::vector<FieldDef> defs_;
    std::vector<Value> values_;
    std::vector<std::size_t> offsets_;
    std::string buffer_;
    const char* data_ = nullptr;
};

// Every alias names the one record; "M" reaches memory variables, as the work-area layer's binder does.
class FakeBinder : public Binder {
  public:
    std::optional<FieldBinding> bind_field(std::string_view alias, std::string_view name) override {
        if (alias == "M") {
            auto it = memvars.find(std::string(name));
            if (it == memvars.end()) return std::nullopt;
            return FieldBinding{{it->first, FieldType::Character, static_cast<int>(it->second.size()), 0},
                                [v = it->second] { return Value(v); }};
        }
        if (!alias.empty() && std::find(aliases.begin(), aliases.end(), alias) == aliases.end()) return std::nullopt;
        auto b = record.bind(name, raw);
        if (!b && alias.empty()) return bind_field("M", name);
        return b;
    }
    int64_t recno() override { return rec; }
    bool deleted() override { return is_deleted; }
    Date today() override { return today_is; }

    FakeRecord record;
    bool raw = false;
    std::vector<std::string> aliases{"AS", "DOW", "FA_NX", "WAL"};
    std::map<std::string, std::string> memvars;
    int64_t rec = 42;
    bool is_deleted = false;
    Date today_is = Date::from_ymd(2024, 3, 20);
};

// A record with every field the catalogue's keys use.
void fill_sample(FakeRecord& r) {
    using T = FieldType;
    r.add("MAG", T::Character, 1, 0, std::string("1"));
    r.add("INDEKS", T::Character, 8, 0, std::string("ABC123  "));
    r.add("NAZWA", T::Character, 30, 0, std::string("Młotek"_852));
    r.add("KOD13", T::Character, 13, 0, std::string("5901234123457"));
    r.add("SUR", T::Character, 8, 0, std::string("SUR1"));
    r.add("DATA_PZ", T::Date, 8, 0, Date::from_ymd(2024, 2, 1));
    r.add("T_W_O_K", T::Character, 8, 0, std::string("GR1"));
    r.add("ATEST", T::Character, 23, 0, std::string("AT-7"));
    r.add("CENA2", T::Numeric, 14, 2, num("7.5"));
    r.add("ODB", T::Character, 8, 0, std::string("K001"));
    r.add("REGON", T::Character, 13, 0, std::string("123-456-78-90"));
    r.add("LP", T::Character, 3, 0, std::string("  1"));
    r.add("CENA", T::Numeric, 16, 6, num("12.345"));
    r.add("R_P", T::Character, 1, 0, std::string("R"));
    r.add("S_Z", T::Character, 1, 0, std::string("S"));
    r.add("RD", T::Character, 3, 0, std::string("FV "));
    r.add("NRD", T::Character, 8, 0, std::string("      12"));
    r.add("DATA", T::Date, 8, 0, Date::from_ymd(2024, 3, 15));
    r.add("ILOSC", T::Numeric, 19, 3, num("5"));
    r.add("REZERWA9", T::Numeric, 15, 3, num("1.25"));
    r.add("KTO", T::Character, 1, 0, std::string("O"));
    r.add("TRESC", T::Character, 17, 0, std::string("Wplata gotowka"));
    r.add("OBWN", T::Numeric, 14, 2, num("100.5"));
    r.add("OBMA", T::Numeric, 14, 2, num("0"));
    r.add("R_DATA", T::Date, 8, 0, Date::from_ymd(2024, 3, 16));
    r.add("R_CZAS", T::Character, 8, 0, std::string("10:15:00"));
    r.add("ZAP", T::Character, 1, 0, std::string("T"));
    r.add("NRKON", T::Character, 16, 0, std::string("100"));
    r.add("WALUTA", T::Character, 3, 0, std::string("EUR"));
    r.add("WARTOSC", T::Numeric, 18, 2, num("250"));
    r.add("WARTOSC0", T::Numeric, 16, 2, num("180.4"));
    r.add("NETTO", T::Numeric, 18, 4, num("300"));
    r.add("SPZ", T::Character, 1, 0, std::string("G"));
    r.add("ZNAK", T::Logical, 1, 0, true);
}

class ExprTest : public ::testing::Test {
  protected:
    ExprTest() { fill_sample(binder.record); }
    // Texts are written in UTF-8 here; the program hands them over in code page 852.
    Expression compile(std::string_view text) { return Expression::compile(platform::text::from_utf8(text), binder); }
    Value eval(std::string_view text) { return compile(text).eval(); }
    FakeBinder binder;
};

// "20240315" with each byte complemented.
const std::string kDescendedDate = "\xCE\xD0\xCE\xCC\xD0\xCD\xCF\xCB";

TEST_F(ExprTest, CatalogueIndexKeysGiveTheirKeysAndWidths) {
    struct Case {
        std::string text;
        std::string key;
    };
    const std::vector<Case> cases = {
        // as and its optional orders
        {"mag+indeks", "1ABC123  "},
        {"DESCEND(kod13)", "\xCB\xC7\xD0\xCF\xCE\xCD\xCC\xCF\xCE\xCD\xCC\xCB\xC9"},
        {"nazwa", std::string("Młotek"_852) + std::string(24, ' ')},
        {"sur+mag+indeks", "SUR1    1ABC123  "},
        {"mag+sur+DTOS(data_pz)+STR(RECNO(),6)", "1SUR1    20240201    42"},
        {"t_w_o_k+mag+indeks", "GR1     1ABC123  "},
        {"atest+mag+indeks", "AT-7" + std::string(19, ' ') + "1ABC123  "},
        {"mag+STR(cena2,7,2)", "1   7.50"},
        {"indeks+mag", "ABC123  1"},
        // contractors
        {"odb", "K001    "},
        {"regon+STR(RECNO(),4)", "123-456-78-90  42"},
        // document entry, lines, headers
        {"mag+indeks+lp", "1ABC123    1"},
        {"mag+indeks+STR(cena,10,2)+lp", "1ABC123       12.35  1"},
        {"rd+nrd+lp", "FV       12  1"},
        {"DTOS(data)+IIF(r_p=\"P\",\"A\",r_p)+s_z+rd+nrd+lp", "20240315RSFV       12  1"},
        {"DTOS(data)+mag+indeks", "202403151ABC123  "},
        {"IIF((r_p=\"P\" .OR. r_p+s_z=\"KZ\") .AND. ilosc>0,\"A\",\"B\")+DTOS(data)+rd+nrd+lp+STR(RECNO(),8)",
         "B20240315FV       12  1      42"},
        {"rd+nrd+STR(RECNO(),6)", "FV       12    42"},
        {"DTOS(data)+r_p+s_z+rd+nrd+STR(RECNO(),6)", "20240315RSFV       12    42"},
        {"rd+nrd+DTOS(data)+STR(RECNO(),4)", "FV       1220240315  42"},
        // settlements
        {"kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)",
         "OK001    FV -      12         100.50    42"},
        {"DTOS(r_data)+r_czas+fa_nx->zap+STR(RECNO(),6)", "2024031610:15:00T    42"},
        {"kto+odb", "OK001    "},
        // kinds, accounts, QR codes, currencies
        {"rd", "FV "},
        {"nrkon", "100" + std::string(13, ' ')},
        {"rd+nrd+mag+indeks+STR(RECNO(),6)", "FV       121ABC123      42"},
        {"mag+indeks+STR(RECNO(),4)", "1ABC123    42"},
        {"waluta", "EUR"},
        {"waluta+DESCEND(DTOS(data))", "EUR" + kDescendedDate},
        {"DESCEND(DTOS(data))+waluta", kDescendedDate + "EUR"},
        {"mag", "1"},
        // report tables
        {"rd+nrd", "FV       12"},
        {"DTOS(data)+nrd", "20240315      12"},
        {"DTOS(data)+rd+nrd+STR(RECNO(),4)", "20240315FV       12  42"},
        {"rd+spz+nrd+STR(RECNO(),4)", "FV G      12  42"},
    };
    for (bool raw : {false, true}) {
        binder.raw = raw;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text + (raw ? " (record bytes)" : " (values)"));
            Expression e = compile(c.text);
            EXPECT_EQ(e.type(), FieldType::Character);
            EXPECT_EQ(e.key(), c.key);
            EXPECT_EQ(e.key_width(), static_cast<int>(c.key.size()));
            EXPECT_EQ(e.text(), c.text);
        }
    }
}

TEST_F(ExprTest, KeysOfOtherTypesAndWidthInference) {
    struct Case {
        std::string text;
        std::string key;
        int width;
    };
    const std::vector<Case> cases = {
        {"ilosc", "000000000000005.000", 19},  // N field: its own layout
        {"DTOS(data)", "20240315", 8},
        {"data", "20240315", 8},
        {"znak", "T", 1},
        {"SUBSTR(nazwa,3,5)", "otek ", 5},
        {"SUBSTR(nazwa,28)", "   ", 3},
        {"LEFT(indeks,40)", "ABC123  ", 8},
        {"RIGHT(indeks,3)", "3  ", 3},
        {"IIF(mag=\"1\",indeks,nazwa)", "ABC123  " + std::string(22, ' '), 30},
        {"PADL(TRIM(indeks),10)", "    ABC123", 10},
        {"TRIM(odb)+mag", "K0011" + std::string(4, ' '), 9},
        {"UPPER(nazwa)", std::string("MŁOTEK"_852) + std::string(24, ' '), 30},
        {"STR(cena)", "       12.345000", 16},
        {"STR(obwn+obma)", "       100.50", 13},
        {"SPACE(4)+mag", "    1", 5},
        // report orders on computed numbers: wide enough for both operands, negatives below zero
        {"wartosc0-netto", ",,,,,,,,,,,++#.&,,,", 19},
        {"DESCEND(wartosc-wartosc0)", ",,,,,,,,,,,,,,,&#.&,", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Expression e = compile(c.text);
        EXPECT_EQ(e.key(), c.key);
        EXPECT_EQ(e.key_width(), c.width);
    }
}

TEST_F(ExprTest, NumericKeysSortInNumericOrder) {
    binder.record.add("SALDO", FieldType::Numeric, 8, 2, Decimal());
    Expression plain = compile("saldo");
    Expression computed = compile("wartosc0-saldo");  // report orders such as "wartosc0-netto"
    Expression reversed = compile("DESCEND(saldo)");
    EXPECT_EQ(plain.key_width(), 8);
    EXPECT_EQ(plain.key_decimals(), 2);
    EXPECT_EQ(compile("STR(saldo,8,2)").key_decimals(), 0);  // a text key, whatever it shows
    const std::vector<std::string> ascending = {"-9999.99", "-100", "-5.5", "-5", "-0.01", "0", "0.01", "3", "12.25", "99999.99"};
    std::vector<std::string> keys, computed_keys, reversed_keys;
    for (const auto& v : ascending) {
        binder.record.set("SALDO", num(v));
        keys.push_back(plain.key());
        computed_keys.push_back(computed.key());
        reversed_keys.push_back(reversed.key());
        EXPECT_EQ(plain.key_of(num(v)), keys.back()) << v;
    }
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
    EXPECT_TRUE(std::is_sorted(computed_keys.rbegin(), computed_keys.rend()));
    EXPECT_TRUE(std::is_sorted(reversed_keys.rbegin(), reversed_keys.rend()));
    EXPECT_EQ(keys[5], "00000.00");
    EXPECT_EQ(keys[9], "99999.99");
}

TEST_F(ExprTest, DescendReversesTextAndDateOrder) {
    Expression code = compile("DESCEND(kod13)");
    Expression by_date = compile("waluta+DESCEND(DTOS(data))");
    const std::vector<std::string> codes = {"0000000000001", "1234567890123", "5901234123457", "5901234123458", "9999999999999"};
    const std::vector<Date> dates = {Date(), Date::from_ymd(1999, 12, 31), Date::from_ymd(2024, 1, 1), Date::from_ymd(2024, 1, 2)};
    std::vector<std::string> code_keys, date_keys;
    for (const auto& c : codes) {
        binder.record.set("KOD13", c);
        code_keys.push_back(code.key());
        // A search passes the code through the same transformation.
        EXPECT_EQ(code.key_of(descend(Value(c))), code_keys.back());
    }
    for (const auto& d : dates) {
        binder.record.set("DATA", d);
        date_keys.push_back(by_date.key());
    }
    EXPECT_TRUE(std::is_sorted(code_keys.rbegin(), code_keys.rend()));
    EXPECT_EQ(std::adjacent_find(code_keys.begin(), code_keys.end()), code_keys.end());
    EXPECT_TRUE(std::is_sorted(date_keys.rbegin(), date_keys.rend()));
    EXPECT_EQ(descend(descend(Value(std::string("AbC\x01\xff")))), Value(std::string("AbC\x01\xff")));
    EXPECT_EQ(descend(Value(num("2.5"))), Value(num("-2.5")));
    EXPECT_EQ(descend(Value(true)), Value(false));
}

TEST_F(ExprTest, FiltersAndConditions) {
    binder.memvars["M_NR_MAG"] = "13";
    struct Case {
        std::string text;
        Value expected;
    };
    const std::vector<Case> cases = {
        {"rd='FV ' .AND. data>=CTOD('01.01.2024')", true},
        {"rd='FV ' .AND. data>=CTOD('16.03.2024')", false},
        {"as->ilosc-as->rezerwa9", num("3.75")},
        {"mag $ M_nr_mag", true},
        {"mag $ M->M_NR_MAG .AND. !EMPTY(odb) .AND. obwn > 0", true},
        {".NOT. DELETED() .AND. RECNO() = 42", true},
        {"!znak .OR. ilosc < 0", false},
        {"DATE() - data", num("5")},
        {"data + 20", Date::from_ymd(2024, 4, 4)},
        {"30 + data - 1", Date::from_ymd(2024, 4, 13)},
        {"YEAR(data) = 2024 .AND. MONTH(data) == 3 .AND. DAY(data) # 1", true},
        {"IIF(ilosc > rezerwa9, 'jest', 'brak')", std::string("jest")},
        {"UPPER(TRIM(nazwa)) = 'MŁO'", true},
        {"r_p+s_z=\"KZ\" .OR. (r_p=\"R\" .AND. .T.)", true},
        {"obwn + obma * 2 - 0.5", num("100")},
        {"-ilosc * -2", num("10")},
        {"(obwn - 0.5) / 4", num("25")},
        {"cena2 <= 7.50 .and. cena2 >= 7.5 .And. cena2 != 7.49", true},
        {"rd - '/' + nrd", std::string("FV/       12")},
    };
    for (bool raw : {false, true}) {
        binder.raw = raw;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text + (raw ? " (record bytes)" : " (values)"));
            EXPECT_EQ(eval(c.text), c.expected);
        }
    }
    // Filters see the record as it changes.
    Expression f = compile("rd='FV' .AND. ilosc-rezerwa9 > 0");
    EXPECT_EQ(f.eval(), Value(true));
    binder.record.set("REZERWA9", num("5"));
    EXPECT_EQ(f.eval(), Value(false));
    binder.record.set("RD", std::string("PZ "));
    binder.record.set("REZERWA9", num("0"));
    EXPECT_EQ(f.eval(), Value(false));
}

TEST_F(ExprTest, StringComparisonsFollowTheExactOffRule) {
    struct Case {
        const char* text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"'ABC' = 'AB'", true},  {"'AB' = 'ABC'", false},  {"'ABC' = ''", true},     {"'' = 'A'", false},
        {"'ABC' <> 'AB'", false}, {"'AB' # 'ABC'", true},   {"'ABC' == 'AB'", false}, {"'AB ' == 'AB'", false},
        {"'AB' == 'AB'", true},   {"'AB' = 'AB '", false},  {"'ABC' > 'AB'", false},  {"'ABC' >= 'AB'", true},
        {"'AB' < 'ABC'", true},   {"'b' > 'a'", true},      {"'a' < 'B'", false},     {"'Z' < 'Ą'", true},
        {"'A' $ 'XAY'", true},    {"'AY' $ 'XAY'", true},   {"'' $ 'XAY'", false},    {"'XAYZ' $ 'XAY'", false},
        {"[A]+\"B\" == 'AB'", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(eval(c.text), Value(c.expected));
    }
}

TEST_F(ExprTest, Functions) {
    struct Case {
        std::string text;
        Value expected;
    };
    auto s = [](std::string_view v) { return Value(std::string(v)); };
    const std::vector<Case> cases = {
        {"STR(12)", s("        12")},
        {"STR(12.5)", s("        12.5")},
        {"STR(-5,3)", s(" -5")},
        {"STR(1234,3)", s("***")},
        {"STR(3.14159,8,3)", s("   3.142")},
        {"STR(2.5,3)", s("  3")},
        {"STRZERO(-5,4)", s("-005")},
        {"STRZERO(42,5)", s("00042")},
        {"SUBSTR('abcdef',2,3)", s("bcd")},
        {"SUBSTR('abcdef',-2)", s("ef")},
        {"SUBSTR('abcdef',0,2)", s("ab")},
        {"SUBSTR('abc',5)", s("")},
        {"SUBSTR('abc',2,-1)", s("")},
        {"SUBS('abcdef',4)", s("def")},
        {"LEFT('abc',5)", s("abc")},
        {"RIGHT('abc',2)", s("bc")},
        {"UPPER('zażółć gęślą jaźń')", s("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"_852)},
        {"LOWER('ZAŻÓŁĆ GĘŚLĄ JAŹŃ')", s("zażółć gęślą jaźń"_852)},
        {"TRIM('  ab  ')+'|'", s("  ab|")},
        {"RTRIM('  ab  ')+'|'", s("  ab|")},
        {"LTRIM('  ab  ')+'|'", s("ab  |")},
        {"ALLTRIM('  ab  ')+'|'", s("ab|")},
        {"PADL('7',3,'0')", s("007")},
        {"PADR('ab',4)+'|'", s("ab  |")},
        {"PADC('ab',6,'*')", s("**ab**")},
        {"PADL('abcdef',3)", s("abc")},
        {"PADL(42,5)", s("   42")},
        {"SPACE(3)+'|'", s("   |")},
        {"REPLICATE('ab',3)", s("ababab")},
        {"REPLICATE('ab',-1)", s("")},
        {"CHR(65)+CHR(66)", s("AB")},
        {"DTOC(CTOD('15.03.2024'))", s("15.03.2024")},
        {"DTOS(CTOD('31.02.2024'))", s("        ")},
        {"DTOC(CTOD(''))", s("  .  .    ")},
        {"DTOS(DATE())", s("20240320")},
        {"IIF(.T., 'a', 'b')", s("a")},
        {"IF(.F., 'a', 'b')", s("b")},
        {"VAL('12.50')", num("12.5")},
        {"VAL('  -3abc')", num("-3")},
        {"VAL('x')", num("0")},
        {"LEN('abc')", num("3")},
        {"AT('c','abcabc')", num("3")},
        {"AT('','abc')", num("0")},
        {"ASC('A')", num("65")},
        {"ROUND(2.675,2)", num("2.68")},
        {"ROUND(-2.5,0)", num("-3")},
        {"ROUND(1234,-2)", num("1200")},
        {"INT(-3.7)", num("-3")},
        {"ABS(-3.7)", num("3.7")},
        {"MOD(-7,3)", num("2")},
        {"-7 % 3", num("-1")},
        {"10 / 0", num("0")},
        {"1 / 3", num("0.3333333333")},
        {"MIN(3,2)", num("2")},
        {"MAX(CTOD('01.01.2024'),CTOD('02.01.2024'))", Date::from_ymd(2024, 1, 2)},
        {"CTOD('01.03.2024') - CTOD('01.02.2024')", num("29")},
        {"CTOD('') + 5", Date()},
        {"YEAR(CTOD(''))", num("0")},
        {"DOW(CTOD('17.03.2024'))", num("1")},
        {"EMPTY('  ') .AND. EMPTY(0) .AND. EMPTY(CTOD('')) .AND. EMPTY(.F.)", true},
        {"EMPTY('a') .OR. EMPTY(0.01) .OR. EMPTY(DATE()) .OR. EMPTY(.T.)", false},
        {"recno()", num("42")},
        {"STR(RECNO(),6)", s("    42")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(eval(c.text), c.expected);
    }
}

TEST_F(ExprTest, BinderDecidesTodayRecnoAndDeleted) {
    Expression e = compile("DTOS(DATE())+STR(RECNO(),3)+IIF(DELETED(),'*',' ')");
    EXPECT_EQ(e.key(), "20240320 42 ");
    binder.today_is = Date::from_ymd(2025, 1, 2);
    binder.rec = 7;
    binder.is_deleted = true;
    EXPECT_EQ(e.key(), "20250102  7*");
}

TEST_F(ExprTest, ErrorsNameTheTextAndThePosition) {
    struct Case {
        std::string text;
        std::size_t position;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"mag+xyz", 4, "unknown field XYZ"},
        {"zz->mag", 0, "unknown field ZZ->MAG"},
        {"mag+as->nic", 4, "unknown field AS->NIC"},
        {"FOO(mag)", 0, "unknown function FOO()"},
        {"mag+", 4, "expression ends where an operand is expected"},
        {"(mag", 4, "expected ')'"},
        {"STR(ilosc,10", 12, "expected ')' or ','"},
        {"mag+'abc", 4, "unclosed string"},
        {"[abc", 0, "unclosed string"},
        {"mag+1", 3, "cannot add numeric to character"},
        {"data-mag", 4, "cannot subtract character from date"},
        {"STR(mag)", 0, "argument 1 of STR() must be numeric, not character"},
        {"SUBSTR(mag)", 0, "SUBSTR() takes 2 to 3 arguments, not 1"},
        {"mag ? 1", 4, "unexpected '?'"},
        {"", 0, "empty expression"},
        {"   ", 3, "empty expression"},
        {"mag indeks", 4, "unexpected text after the expression"},
        {"IIF(mag='1', 1, 'a')", 0, "IIF() needs arguments of one type, not numeric and character"},
        {"mag = 1", 4, "cannot compare character with numeric"},
        {"ilosc .AND. .T.", 6, ".AND. needs logical, not numeric"},
        {"!mag", 0, ".NOT. needs logical, not character"},
        {".X. .AND. .T.", 0, "unexpected '.'"},
        {"ilosc $ ilosc", 6, "$ needs character, not numeric"},
        {"mag->", 5, "expected a field name after '->'"},
        {"mag + )", 6, "expected an operand, found ')'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            compile(c.text);
            ADD_FAILURE() << "compiled";
        } catch (const ExprError& e) {
            EXPECT_EQ(e.position(), c.position);
            EXPECT_EQ(e.text(), c.text);
            std::string what = e.what();
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
            EXPECT_NE(what.find("position " + std::to_string(c.position)), std::string::npos) << what;
            EXPECT_NE(what.find("\"" + c.text + "\""), std::string::npos) << what;
        }
    }
}

TEST_F(ExprTest, HostileInputStaysBounded) {
    // Widths and counts from data or typing must not exhaust memory or read outside the text.
    EXPECT_EQ(std::get<std::string>(eval("SPACE(99999999)")).size(), 65535u);
    EXPECT_EQ(std::get<std::string>(eval("REPLICATE('ab', 99999999)")).size(), 65534u);
    EXPECT_EQ(std::get<std::string>(eval("SUBSTR('abc', 2, 99999999999)")), "bc");
    EXPECT_EQ(std::get<std::string>(eval("STR(1, 999999, 99)")).size(), 255u);
    EXPECT_EQ(eval("DTOS(CTOD('31.12.9999') + 1)"), Value(std::string(8, ' ')));
    EXPECT_EQ(eval("DTOS(CTOD('01.01.2024') + 99999999999)"), Value(std::string(8, ' ')));
    // Nesting is bounded before it can exhaust the stack, in parsing and in evaluation.
    auto nested = [](int n) { return std::string(static_cast<std::size_t>(n), '(') + "1" + std::string(static_cast<std::size_t>(n), ')'); };
    EXPECT_EQ(eval(nested(100)), Value(Decimal(1)));
    EXPECT_THROW(compile(nested(100000)), ExprError);
    EXPECT_THROW(compile(std::string(100000, '-') + "1"), ExprError);
    std::string chain = "ilosc";
    for (int i = 0; i < 100000; ++i) chain += "+ilosc";
    EXPECT_THROW(compile(chain), ExprError);
    std::string conditions = "mag='1'";
    for (int i = 0; i < 100; ++i) conditions += " .AND. ilosc>" + std::to_string(i % 3);
    EXPECT_EQ(eval(conditions), Value(true));
    EXPECT_THROW(compile(std::string("mag+\x01")), ExprError);
}

TEST_F(ExprTest, SeekValuesTakeTheKeyForm) {
    Expression by_date = compile("data");
    Expression by_code = compile("mag+indeks");
    EXPECT_EQ(by_date.key_of(Date::from_ymd(2024, 3, 15)), by_date.key());
    EXPECT_EQ(by_code.key_of(std::string("1AB")), "1AB");  // shorter text seeks the keys it begins
    EXPECT_EQ(by_code.key_of(std::string("1ABC123  XYZ")), "1ABC123  ");
    EXPECT_THROW(by_date.key_of(Decimal(5)), std::invalid_argument);
}

TEST_F(ExprTest, KeyIntoReusesTheBuffer) {
    Expression e = compile("kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)");
    std::string buffer;
    e.key_into(buffer);
    EXPECT_EQ(buffer, e.key());
    binder.record.set("MAG", std::string("0"));
    e.key_into(buffer);
    EXPECT_EQ(buffer, "OK001    Wplata gotow         100.50    42");
}

}  // namespace
}  // namespace platform::table
