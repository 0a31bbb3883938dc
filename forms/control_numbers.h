#pragma once

// How the form logic reads a control's text as a number.

#include <cstdlib>

#include "core/german.h"
#include "forms/controls/control.h"

namespace fondaris::forms {

// An amount as the agent sees it ("2.500,00").
inline double amountOf(const Control& c) {
  return core::parseAmount(c.text());
}

// The leading whole number of a list entry ("30"); 0 when there is none.
inline int numberOf(const Control& c) {
  return std::atoi(c.text().c_str());
}

}  // namespace fondaris::forms
