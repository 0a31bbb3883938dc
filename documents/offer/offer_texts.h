#pragma once

#include <array>
#include <string>

#include "core/german.h"

namespace fondaris::documents {

// "Januar" ... "Dezember"; empty outside 1..12.
std::string germanMonthName(int month);

// "1.234,56 EUR", whatever notation the process uses.
std::string euroAmount(double value);

// The text that replaces "#Angebot#": today's date, the program version and as much of the
// agent's name and place as fits into 90 characters.
std::string offerLine(core::DateTime today, const std::string& programVersion,
                      const std::array<std::string, 8>& agentLines);

// A German rate text ("4,5") as a fraction (0.045); 0 when unreadable.
double rateFraction(const std::string& rateText);

// Monthly annuity from a capital at a yearly rate (fraction): interest only, or paying the
// capital off over `years`.
double annuityWithoutConsumption(double capital, double rate);
double annuityWithConsumption(double capital, double rate, int years);

}  // namespace fondaris::documents
