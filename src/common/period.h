#pragma once
// Texts and numbers of the open period (HH) that report headings use.

#include <string>

namespace sklad {

// "01.mm.yyyy - dd.mm.yyyyr": the first and the last day of the open period.
std::string KON_RAP();
// The last day to tabulate: today's day while the open period is the firm's current month and today
// lies in that month, otherwise the period's last day.
int KON_TAB();

}  // namespace sklad
