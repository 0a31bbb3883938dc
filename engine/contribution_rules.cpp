#include "engine/contribution_rules.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "core/result.h"

namespace fondaris::engine {

namespace {

// Requests can hold any number; keep single-precision values finite.
float toFloat(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<float>(std::clamp(v, double{-FLT_MAX}, double{FLT_MAX}));
}

bool isFixedTermPeriod(int years) {
  return years == 7 || years == 13 || years == 19 || years == 25;
}

// Fund value at the target row, read from column 0 of a single run at the search rate.
double targetRowValue(const Request& rq, const ProductRules& rules, ProjectionResult& scratch,
                      double monthly) {
  const DriverInput in = driverInputFor(rq, rules, monthly);
  const double rate = rq.targetRatePercent * 0.01;
  if (rq.type == 1) {
    FixedTermOptions options;
    options.singlePaymentLoad = in.fixedTermSinglePaymentLoad;
    // An unsupported period leaves the column cleared, which reads as 0 below.
    core::ignoreFailure(projectFixedTerm(scratch, in.contract, options, rate, 0));
  } else {
    core::ignoreFailure(projectStandard(scratch, in.contract, StandardOptions{}, rate, 0));
  }
  const std::int64_t row = std::int64_t{rq.targetAge} - rq.entryAgeInsured;
  if (row < 0 || row >= kYears) return 0;
  return scratch.fundValueRounded(static_cast<int>(row), 0);
}

const char* minimumAfterSearch(int z, double& limit) {
  switch (z) {
    case 12:
      limit = 40;
      return "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 40 Euro! Bitte die "
             "Ablaufleistung erhöhen!";
    case 4:
      limit = 120;
      return "Der Mindestbeitrag bei vierteljährlicher Zahlweise beträgt 120 Euro! Bitte die "
             "Ablaufleistung erhöhen!";
    case 2:
      limit = 240;
      return "Der Mindestbeitrag bei halbjährlicher Zahlweise beträgt 240 Euro! Bitte die "
             "Ablaufleistung erhöhen!";
    default:
      limit = 480;
      return "Der Mindestbeitrag bei jährlicher Zahlweise beträgt 480 Euro! Bitte die "
             "Ablaufleistung erhöhen!";
  }
}

}  // namespace

DriverInput driverInputFor(const Request& rq, const ProductRules& rules,
                           double monthlyContribution) {
  DriverInput in;
  in.contract.contributionYears = rq.contributionYears;
  in.contract.investmentYears = rq.investmentYears;
  in.contract.monthlyContribution = monthlyContribution;
  in.contract.singlePayment = rq.singlePayment;
  in.growthRates = rq.growthRates;
  in.fixedTermSinglePaymentLoad = rules.fixedTermSinglePaymentLoad;
  in.fixedTerm = rq.type == 1;
  in.paymentsPerYear = rq.paymentsPerYear;
  in.entryAgePolicyholder = rq.entryAgePolicyholder;
  in.entryAgeInsured = rq.entryAgeInsured;
  in.birthYear = rq.birthYear;
  in.sex = rq.sex;
  in.deathBenefit = rq.deathBenefit;
  return in;
}

RuleOutcome checkRequest(const Request& rq, const ProductRules& rules, ProjectionResult& scratch) {
  RuleOutcome out;
  out.contribution = rq.contribution;
  out.deathBenefit = rq.deathBenefit;
  const int z = rq.paymentsPerYear;
  const double a = rq.targetValue;
  float& c = out.contribution;

  if (rq.type != 1 && rq.type != 2) {
    out.error = "Unbekannten Berechnungstyp angefordert!";
  } else if (z != 1 && z != 2 && z != 4 && z != 12) {
    out.error = "Unbekannte Zahlungsweise!";
  } else if (rq.targetAge > 85) {
    out.error = "Das gewünschte Alter ist zu hoch!";
  } else if (z == 12 && c < 25 && a == 0) {
    out.error = "Der Mindestbeitrag bei monatlicher Zahlweise beträgt 25 Euro!";
  } else if (z == 12 && c > 1000 && a == 0) {
    out.error = "Der Maximalbeitrag bei monatlicher Zahlweise beträgt 1000 Euro!";
  } else if (rq.type == 1 && !isFixedTermPeriod(rq.contributionYears)) {
    // The fixed-term projection knows only these periods; anything else would report zeros.
    out.error =
        "Für diesen Berechnungstyp ist nur eine Beitragszahldauer von 7, 13, 19 oder 25 Jahren "
        "möglich!";
  }
  if (!out.error.empty()) return out;

  if (a > 0) {
    const char* noValue = "Zum gewünschten Alter kann keine Ablaufleistung berechnet werden!";
    const double v1 = targetRowValue(rq, rules, scratch, 100);
    if (v1 <= 0) {
      out.error = noValue;
      return out;
    }
    c = toFloat(100 * a / v1);
    if (c >= 30) {
      const double v2 = targetRowValue(rq, rules, scratch, c);
      if (v2 <= 0) {
        out.error = noValue;
        return out;
      }
      c = toFloat(12.0 * c * a / v2 / z);
      const double t = std::floor(static_cast<double>(c));
      c = toFloat(c - t < 0.5 ? t + 1 : t + 1.5);
    }
    double limit = 0;
    const char* text = minimumAfterSearch(z, limit);
    if (c < limit) {
      out.error = text;
      return out;
    }
  }

  const int e = rq.entryAgeInsured;
  const int k = rules.childAgeLimit;
  if (rq.country == "D" && std::int64_t{k} + 1 > e) {
    const std::int64_t interval = 12 / z;
    std::int64_t months = (std::int64_t{k} - e) * 12;
    if (months % interval != 0) months = (months / interval + 1) * interval;
    if (std::int64_t{rq.contributionYears} * 12 < months)
      months = std::int64_t{rq.contributionYears} * 12;
    if (static_cast<double>(months) * c * z / 12 > rules.childContributionLimit) {
      out.error = "Bei Kindern darf die Beitragssumme bis zum " + std::to_string(k) +
                  ". Lebensjahr die Grenze von " + std::to_string(rules.childContributionLimit) +
                  " Euro nicht übersteigen!";
      return out;
    }
  }

  if (rq.type == 2) {
    const double sum = static_cast<double>(rq.contributionYears) * c * z;
    const double maxBenefit = rules.maxDeathBenefit ? rules.maxDeathBenefit(e, rq.sex) : 1000000;
    const double t = rq.deathBenefit;
    if (sum > maxBenefit) {
      out.error = "Die Beitragssumme ist zu hoch!";
    } else if (t > 0) {
      if (maxBenefit < t || sum < t)
        out.error = "Die Todesfallleistung ist zu hoch!";
      else if (rules.minDeathBenefitPercent * 0.01 * sum > t)
        out.error = "Die Todesfallleistung ist zu niedrig!";
    } else {
      out.deathBenefit = toFloat(rules.minDeathBenefitPercent * 0.01 * sum);
    }
  }
  // Whatever path led here (no contribution given at a yearly payment, a negative one, a
  // negative end value), nothing can be projected from it.
  if (out.error.empty() && !(c > 0)) out.error = "Der Beitrag muss größer als 0 Euro sein!";
  return out;
}

}  // namespace fondaris::engine
