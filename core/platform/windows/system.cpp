// The program's surroundings on Windows: the module's file name, the user's regional settings,
// the shell's known folders and its "open".
// windows.h first: the shell's headers build on it.
#include <windows.h>

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "core/platform/platform.h"
#include "core/platform/windows/utf16.h"

namespace fondaris::core::platform {

void* allocateBlock(std::size_t size) {
  void* block = ::VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!block) throw std::bad_alloc();
  return block;
}

void releaseBlock(void* block, std::size_t) {
  ::VirtualFree(block, 0, MEM_RELEASE);
}

std::vector<std::string> commandArguments(int, char**) {
  int count = 0;
  wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 0; words && i < count; ++i) out.push_back(toUtf8(words[i]));
  ::LocalFree(words);
  return out;
}

std::string executablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return toUtf8(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

std::string environmentVariable(const char* name) {
  const std::wstring wide = toUtf16(name);
  const DWORD size = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return toUtf8(value);
}

std::string userDataFolder() {
  const std::string roaming = environmentVariable("APPDATA");
  if (roaming.empty()) return {};
  return joinPath(roaming, "fondaris");
}

std::string documentsFolder() {
  PWSTR folder = nullptr;
  std::string out;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
    out = toUtf8(folder);
  ::CoTaskMemFree(folder);
  return out;
}

std::optional<std::string> useSystemLocale() {
  // The user's regional settings always name a notation; the C library's stays "C", since the
  // program formats and reads numbers itself.
  return std::nullopt;
}

namespace {

std::string localeText(LCTYPE type) {
  wchar_t buffer[128] = {};
  const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 128);
  return length > 1 ? toUtf8(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)))
                    : std::string();
}

DWORD localeNumber(LCTYPE type) {
  DWORD value = 0;
  ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type | LOCALE_RETURN_NUMBER,
                    reinterpret_cast<LPWSTR>(&value), sizeof value / sizeof(wchar_t));
  return value;
}

}  // namespace

Notation systemNotation() {
  Notation n;
  const std::string decimal = localeText(LOCALE_SDECIMAL);
  n.decimalSeparator = decimal.empty() ? std::string(".") : decimal;
  n.thousandsSeparator = localeText(LOCALE_STHOUSAND);
  n.currencyString = localeText(LOCALE_SCURRENCY);
  // 3 is "1 €": the symbol follows the amount after a blank.
  n.currencyTrailingBlank = localeNumber(LOCALE_ICURRENCY) == 3;
  // The date separator is the first punctuation of the short date format ("dd.MM.yyyy").
  for (const char c : localeText(LOCALE_SSHORTDATE)) {
    if (std::strchr("./-", c)) {
      n.dateSeparator = c;
      break;
    }
  }
  return n;
}

bool localTime(std::time_t seconds, std::tm& out) {
  return localtime_s(&out, &seconds) == 0;
}

OpenResult openWithAssociatedProgram(const std::string& path) {
  const std::wstring file = nativePath(path).wstring();
  const auto code = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (code > 32) return OpenResult::Ok;
  if (code == SE_ERR_FNF || code == SE_ERR_PNF) return OpenResult::NotFound;
  return OpenResult::NoAssociation;
}

}  // namespace fondaris::core::platform
