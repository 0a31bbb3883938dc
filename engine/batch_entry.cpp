#include "engine/batch_entry.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <filesystem>

#include "core/files.h"
#include "core/ini_file.h"
#include "core/notation.h"
#include "core/param_layout.h"
#include "core/param_record.h"
#include "core/platform/platform.h"
#include "engine/contribution_rules.h"
#include "engine/product_rules.h"

namespace fondaris::engine {

namespace {

constexpr const char* kCaption = "Angebotsprogramm";

// Beyond this a figure has more digits than a double holds, so its cents would be invented.
constexpr double kLargestFigure = 1e15;

// Candidate paths of a request or result file: beside the program first, then as given.
// An absolute name is only itself: glued to the program folder it would name another file.
std::vector<std::string> candidates(const std::string& programDirectory, const std::string& name) {
  if (core::platform::nativePath(name).is_absolute()) return {name};
  return {core::joinPath(programDirectory, name), name};
}

float toFloat(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<float>(std::clamp(v, double{-FLT_MAX}, double{FLT_MAX}));
}

Request readRequest(const core::IniFile& ini, const core::ParamRecord& param) {
  constexpr const char* s = "Anfrage";
  Request rq;
  rq.contribution = toFloat(ini.readFloat(s, "Beitrag", 0));
  rq.deathBenefit = toFloat(ini.readFloat(s, "Todesfall", 0));
  rq.topUp = ini.readFloat(s, "Zuzahlung", 0);
  if (rq.contribution == 0) {
    rq.targetValue = toFloat(ini.readFloat(s, "Ablauf", 0));
    rq.targetRatePercent = toFloat(ini.readFloat(s, "AblaufWE", 9));
  }
  rq.type = ini.readInteger(s, "Typ", 1);
  rq.paymentsPerYear = ini.readInteger(s, "ZW", 12);
  rq.entryAgePolicyholder = ini.readInteger(s, "EAVN", 0);
  rq.entryAgeInsured = ini.readInteger(s, "EAVP", rq.entryAgePolicyholder);
  rq.birthYear = ini.readInteger(s, "GebJahr", 0);
  rq.sex = ini.readInteger(s, "Geschlecht", 0);
  rq.contributionYears = ini.readInteger(s, "BZD", 0);
  rq.investmentYears = ini.readInteger(s, "Anlagedauer", 0);
  rq.targetAge = ini.readInteger(s, "RBA", 0);
  for (int i = 0; i < kRates; ++i)
    rq.growthRates[i] = ini.readFloat(s, "WE" + std::to_string(i + 1), 0) * 0.01;
  rq.country = ini.readString(s, "Land", "D");
  rq.singlePayment = ini.readFloat(s, "Einmalzahlung", 0);
  if (rq.entryAgePolicyholder == 0 && rq.entryAgeInsured > 0)
    rq.entryAgePolicyholder = rq.entryAgeInsured;

  // Smaller single payments are not accepted; larger ones carry the cost rate.
  if (rq.singlePayment > 0 && rq.singlePayment < kMinSingleInvestment) {
    rq.singlePayment = 0;
  } else if (rq.singlePayment >= kMinSingleInvestment) {
    const double costRate = param.i32(404508) * 0.0001;
    rq.singlePayment = round2(rq.singlePayment * (1 - costRate));
  }
  return rq;
}

ProductRules productRules(const core::ParamRecord& param) {
  ProductRules rules;
  rules.childAgeLimit = param.i32(2004);
  rules.childContributionLimit = param.i32(2008);
  rules.minDeathBenefitPercent = param.i32(14592);
  rules.maxDeathBenefit = [&param](int age, int sex) {
    return core::maxDeathBenefit(param, age, sex);
  };
  return rules;
}

// Fields of the product data that name a file beside the program.
constexpr std::string_view kFileFields[] = {"startPicture",
                                            "vlStrategy.offerTemplate",
                                            "vlStrategy.infoDocument",
                                            "zielStrategy.offerTemplate",
                                            "zielStrategy.infoDocument",
                                            "bankFile",
                                            "applicationFormVl",
                                            "applicationFormZiel",
                                            "applicationFormBoth",
                                            "formVvez",
                                            "protectionForm",
                                            "formVvzuebVl",
                                            "formVvzuebZiel",
                                            "formVvzuebeeg",
                                            "formVvzuebeaVl",
                                            "formVvzuebeaZiel"};

bool isProtected(const std::string& path, const std::vector<std::string>& protectedFiles) {
  return std::any_of(protectedFiles.begin(), protectedFiles.end(),
                     [&path](const std::string& own) { return core::sameFile(path, own); });
}

// Rows the result reports: up to the age of 76 for type 1, all rows the result holds for type 2.
int reportedYears(const Request& rq) {
  const long long years = rq.type == 1 ? 76LL - rq.entryAgeInsured : kYears;
  return static_cast<int>(std::clamp<long long>(years, 0, kYears));
}

bool figureTooLarge(double v) {
  return !(std::fabs(v) < kLargestFigure);  // NaN too
}

// An overflowing projection would be written as 0,00 or as a cut-off number.
bool figuresTooLarge(const ProjectionResult& result, int years) {
  for (int i = 0; i < years; ++i)
    for (int r = 0; r < kRates; ++r)
      if (figureTooLarge(result.fundValue[i][r]) || figureTooLarge(result.annuity[i][r]) ||
          figureTooLarge(result.surrender[i][r]))
        return true;
  return false;
}

void writeSuccess(core::IniFile& out, const Request& rq, const RuleOutcome& rules,
                  const ProjectionResult& result) {
  constexpr const char* s = "Anfrage";
  out.writeFloat(s, "Beitrag", rules.contribution);
  out.writeInteger(s, "Typ", rq.type);
  out.writeInteger(s, "ZW", rq.paymentsPerYear);
  out.writeInteger(s, "EAVN", rq.entryAgePolicyholder);
  out.writeInteger(s, "EAVP", rq.entryAgeInsured);
  out.writeInteger(s, "GebJahr", rq.birthYear);
  out.writeInteger(s, "Geschlecht", rq.sex);
  out.writeInteger(s, "BZD", rq.contributionYears);
  out.writeInteger(s, "RBA", rq.targetAge);
  if (rq.type == 2) out.writeFloat(s, "Todesfall", rules.deathBenefit);
  for (int i = 0; i < kRates; ++i)
    out.writeFloat(s, "WE" + std::to_string(i + 1), rq.growthRates[i] * 100);
  out.writeString(s, "Land", rq.country);

  const int n = reportedYears(rq);
  for (int r = 0; r < kRates; ++r) {
    const std::string section = "WE" + std::to_string(r + 1);
    for (int i = 0; i < n; ++i)
      out.writeString(section, "Gut" + std::to_string(i),
                      core::formatCurrency(result.fundValueRounded(i, r)));
    for (int i = 0; i < n; ++i)
      out.writeString(section, "Rente" + std::to_string(i),
                      core::formatCurrency(result.annuity[i][r]));
    for (int i = 0; i < n; ++i)
      out.writeString(section, "Rueck" + std::to_string(i),
                      core::formatCurrency(result.surrender[i][r]));
  }
}

}  // namespace

std::vector<std::string> protectedFiles(const std::string& programDirectory,
                                        const core::ParamRecord& param,
                                        const std::vector<std::string>& programFiles) {
  std::vector<std::string> files = programFiles;
  files.push_back(core::joinPath(programDirectory, core::kParamFileName));
  for (const core::ParamField& f : core::kParamFields) {
    if (std::find(std::begin(kFileFields), std::end(kFileFields), f.name) == std::end(kFileFields))
      continue;
    for (std::size_t i = 0; i < f.count; ++i) {
      const std::string name = core::paramText(param, f, i);
      if (!name.empty()) files.push_back(core::joinPath(programDirectory, name));
    }
  }
  return files;
}

int batchExitCode(BatchOutcome outcome) {
  return outcome == BatchOutcome::Completed ? 0 : 1;
}

std::string batchMessage(BatchOutcome outcome, const std::string& requestName,
                         const std::string& resultName) {
  switch (outcome) {
    case BatchOutcome::Completed:
      return "";
    case BatchOutcome::ParamUnreadable:
      return "Die Datei 'param.dat' konnte nicht gelesen werden!";
    case BatchOutcome::RequestUnreadable:
      return "Die Datei '" + requestName + "' konnte nicht gelesen werden!";
    case BatchOutcome::ResultNotCreated:
      return "Die Datei '" + resultName + "' konnte nicht erzeugt werden!";
  }
  return "";
}

int runBatchCalculation(ProjectionResult& result, const std::string& programDirectory,
                        const std::string& requestName, const std::string& resultName,
                        core::Dialogs& dialogs, const std::vector<std::string>& programFiles) {
  const BatchOutcome outcome =
      runBatch(result, programDirectory, requestName, resultName, dialogs, programFiles);
  if (outcome != BatchOutcome::Completed)
    dialogs.message(batchMessage(outcome, requestName, resultName), kCaption);
  return batchExitCode(outcome);
}

BatchOutcome runBatch(ProjectionResult& result, const std::string& programDirectory,
                      const std::string& requestName, const std::string& resultName,
                      core::Dialogs& dialogs, const std::vector<std::string>& programFiles) {
  core::ParamRecord param;
  if (const core::ParamReadResult read = core::readParamRecord(programDirectory, param); !read) {
    dialogs.message(core::paramReadMessage(read.error()), "Fehler");
    return BatchOutcome::ParamUnreadable;
  }

  core::IniFile request;
  bool requestRead = false;
  for (const auto& path : candidates(programDirectory, requestName)) {
    request.setPath(path);
    if (core::fileExists(path) && request.load()) {
      requestRead = true;
      break;
    }
  }
  if (!requestRead) return BatchOutcome::RequestUnreadable;

  // The result starts as an empty file marked incomplete.
  core::IniFile out;
  out.writeString("Berechnung", "Ende", "0");
  bool created = false;
  const std::vector<std::string> own = protectedFiles(programDirectory, param, programFiles);
  for (const auto& path : candidates(programDirectory, resultName)) {
    if (isProtected(path, own)) break;
    out.setPath(path);
    if (out.save()) {
      created = true;
      break;
    }
  }
  if (!created) return BatchOutcome::ResultNotCreated;

  const Request rq = readRequest(request, param);
  const ProductRules rules = productRules(param);
  RuleOutcome outcome = checkRequest(rq, rules, result);
  if (outcome.error.empty()) {
    result = ProjectionResult{};
    Request final = rq;
    final.deathBenefit = outcome.deathBenefit;
    const double monthly = static_cast<double>(outcome.contribution) * rq.paymentsPerYear / 12;
    project(result, driverInputFor(final, rules, monthly));
    if (figuresTooLarge(result, reportedYears(rq)))
      outcome.error = "Die Berechnung ergibt zu große Werte!";
  }
  out.writeString("Ergebnis", "Fehler", outcome.error);
  if (outcome.error.empty()) writeSuccess(out, rq, outcome, result);
  out.writeString("Berechnung", "Ende", "1");
  if (!out.save()) return BatchOutcome::ResultNotCreated;
  return BatchOutcome::Completed;
}

}  // namespace fondaris::engine
