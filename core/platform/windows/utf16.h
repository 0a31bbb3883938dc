#pragma once

#include <string>
#include <string_view>

#include <windows.h>

// Windows names files and takes texts in UTF-16; the program keeps UTF-8. Only the Windows
// implementation converts, right where it calls the system.
namespace fondaris::core::platform {

inline std::wstring toUtf16(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), length);
  return out;
}

inline std::string toUtf8(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int size = static_cast<int>(utf16.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

}  // namespace fondaris::core::platform
