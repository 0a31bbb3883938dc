// The program's surroundings on POSIX systems: /proc, the XDG folders, the C library's locale
// and xdg-open.
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/platform/platform.h"

extern char** environ;

namespace fondaris::core::platform {

void* allocateBlock(std::size_t size) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return block;
}

void releaseBlock(void* block, std::size_t size) {
  ::munmap(block, size);
}

std::vector<std::string> commandArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string executablePath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string userDataFolder() {
  std::string base = environmentVariable("XDG_DATA_HOME");
  // Relative values are to be ignored, as for every XDG base directory.
  if (base.empty() || base.front() != '/') {
    const std::string home = environmentVariable("HOME");
    if (home.empty()) return {};
    base = joinPath(joinPath(home, ".local"), "share");
  }
  return joinPath(base, "fondaris");
}

namespace {

bool isFolder(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::string xdgUserDocuments() {
  FILE* pipe = popen("xdg-user-dir DOCUMENTS 2>/dev/null", "r");
  if (!pipe) return {};
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

}  // namespace

std::string documentsFolder() {
  const std::string folder = environmentVariable("XDG_DOCUMENTS_DIR");
  return isFolder(folder) ? folder : xdgUserDocuments();
}

Notation systemNotation() {
  Notation n;
  const std::lconv* lc = std::localeconv();
  n.decimalSeparator = lc->decimal_point && *lc->decimal_point ? lc->decimal_point : ".";
  n.thousandsSeparator = lc->thousands_sep ? lc->thousands_sep : "";
  n.currencyString = lc->currency_symbol ? lc->currency_symbol : "";
  n.currencyTrailingBlank = lc->p_cs_precedes == 0 && lc->p_sep_by_space == 1;
  // The date separator is the first punctuation of the locale's date format ("%d.%m.%Y").
  const char* fmt = nl_langinfo(D_FMT);
  for (const char* p = fmt; p && *p; ++p) {
    if (*p == '%') {
      if (p[1]) ++p;
      continue;
    }
    if (std::strchr("./-", *p)) {
      n.dateSeparator = *p;
      break;
    }
  }
  return n;
}

namespace {

const char* environmentValue(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? v : nullptr;
}

// The locale name the environment gives one category: LC_ALL, then the category's own
// variable, then LANG.
const char* localeNameFor(const char* categoryVariable) {
  if (const char* v = environmentValue("LC_ALL")) return v;
  if (const char* v = environmentValue(categoryVariable)) return v;
  return environmentValue("LANG");
}

}  // namespace

std::optional<std::string> useSystemLocale() {
  if (std::setlocale(LC_ALL, "")) return std::nullopt;
  std::setlocale(LC_ALL, "C");
  static const std::pair<int, const char*> kCategories[] = {
      {LC_CTYPE_MASK, "LC_CTYPE"},
      {LC_NUMERIC_MASK, "LC_NUMERIC"},
      {LC_TIME_MASK, "LC_TIME"},
      {LC_COLLATE_MASK, "LC_COLLATE"},
      {LC_MONETARY_MASK, "LC_MONETARY"},
      {LC_MESSAGES_MASK, "LC_MESSAGES"},
#ifdef LC_PAPER_MASK
      {LC_PAPER_MASK, "LC_PAPER"},
      {LC_NAME_MASK, "LC_NAME"},
      {LC_ADDRESS_MASK, "LC_ADDRESS"},
      {LC_TELEPHONE_MASK, "LC_TELEPHONE"},
      {LC_MEASUREMENT_MASK, "LC_MEASUREMENT"},
      {LC_IDENTIFICATION_MASK, "LC_IDENTIFICATION"},
#endif
  };
  for (const auto& [mask, variable] : kCategories) {
    const char* name = localeNameFor(variable);
    if (!name) continue;
    if (locale_t loc = ::newlocale(mask, name, locale_t{})) {
      ::freelocale(loc);
      continue;
    }
    return std::string(name);
  }
  const char* any = localeNameFor("LC_NUMERIC");
  return std::string(any ? any : "");
}

bool localTime(std::time_t seconds, std::tm& out) {
  return localtime_r(&seconds, &out) != nullptr;
}

// xdg-open, started without waiting for the viewer: a quick failure with exit code 3 (no
// method) or 4 (the associated program failed) is reported as no association.
OpenResult openWithAssociatedProgram(const std::string& path) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  const int rc =
      posix_spawnp(&pid, "xdg-open", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return OpenResult::NoAssociation;

  // xdg-open either fails at once or hands over to a viewer that may run for a long time.
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(1500);
  while (steady_clock::now() < deadline) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status) && (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 4))
        return OpenResult::NoAssociation;
      if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return OpenResult::NotFound;
      return OpenResult::Ok;
    }
    if (done < 0) return OpenResult::Ok;
    std::this_thread::sleep_for(milliseconds(20));
  }
  // Still running: the viewer has it. Reap it whenever it ends.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return OpenResult::Ok;
}

}  // namespace fondaris::core::platform
