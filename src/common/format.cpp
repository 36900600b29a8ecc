#include "common/format.h"

namespace sklad {

std::string STR2(long long n) {
    if (n <= 0 || n > 99) return "00";
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string STR3(long long n) {
    std::string s = platform::Decimal(n).str(3, 0);
    for (char& c : s)
        if (c == ' ') c = '0';
    return s;
}

std::string CENTRUJ(std::string_view text) {
    std::size_t pad = text.size() < 80 ? (80 - text.size()) / 2 : 0;
    return std::string(pad, ' ') + std::string(text);
}

std::string MIESIAC(std::string_view mm, std::string_view yy) {
    static const char* const names[] = {"    Styczen", "       Luty", "     Marzec", "   Kwiecien", "        Maj",
                                        "   Czerwiec", "     Lipiec", "   Sierpien", "   Wrzesien", "Pazdziernik",
                                        "   Listopad", "   Grudzien", "  Trzynasty"};
    std::string name = "nieznany   ";
    if (mm.size() == 2 && mm[0] >= '0' && mm[0] <= '1' && mm[1] >= '0' && mm[1] <= '9') {
        int m = (mm[0] - '0') * 10 + (mm[1] - '0');
        if (m >= 1 && m <= 13) name = names[m - 1];
    }
    return name + " '" + std::string(yy);
}

namespace {

int number(std::string_view s) {
    int v = 0;
    for (char c : s)
        if (c >= '0' && c <= '9') v = v * 10 + (c - '0');
    return v;
}

std::string full_year(std::string_view year) {
    if (year.size() == 2) return (year[0] == '9' ? "19" : "20") + std::string(year);
    return std::string(year);
}

}  // namespace

std::string K_MIES(std::string_view mm, std::string_view year) {
    int m = number(mm);
    int y = number(full_year(year));
    switch (m) {
    case 4: case 6: case 9: case 11:
        return "30";
    case 2:
        return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0 ? "29" : "28";
    default:
        return "31";
    }
}

std::string K_MIES_FK(std::string_view period) {
    std::string_view yy = period.substr(0, 2), mm = period.size() >= 5 ? period.substr(3, 2) : "";
    return K_MIES(mm, yy) + "." + std::string(mm) + "." + full_year(yy);
}

std::string P_MIES(std::string_view period) {
    std::string_view yy = period.substr(0, 2), mm = period.size() >= 5 ? period.substr(3, 2) : "";
    return "01." + std::string(mm) + "." + full_year(yy);
}

std::string DTOC_X(platform::Date d) {
    static const char* const roman[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
    if (d.empty()) return d.dmy();
    std::string dd = d.dmy().substr(0, 2);
    return dd + "." + roman[d.month() - 1] + "." + std::to_string(d.year());
}

bool T_N(std::string_view c) { return c == "T" || c == "N"; }
bool SPR(std::string_view c) { return c == "A" || c == "B" || c == "C" || c == "D"; }

}  // namespace sklad
