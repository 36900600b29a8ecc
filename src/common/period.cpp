#include "common/period.h"

#include "common/console.h"
#include "common/format.h"
#include "data/catalogue.h"
#include "data/engine.h"
#include "data/session.h"

namespace sklad {

std::string KON_RAP() { return P_MIES(HH) + " - " + K_MIES_FK(HH) + "r"; }

int KON_TAB() {
    const std::string last = K_MIES_FK(HH);
    const int last_day = std::stoi(last.substr(0, 2));
    if (SELECT("firma") == 0 || HH.size() < 5) return last_day;
    const bool current = HH_Z_BMR(FC("firma->bmr")) == HH;
    const platform::Date today = DATE();
    const int month = (HH[3] - '0') * 10 + (HH[4] - '0');
    const int year = 2000 + (HH[0] - '0') * 10 + (HH[1] - '0');
    if (current && today.month() == month && today.year() % 100 == year % 100) return today.day();
    return last_day;
}

}  // namespace sklad
