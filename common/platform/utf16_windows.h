// UTF-8 <-> UTF-16 for the Windows side of the seam and the Win32 launcher,
// whose texts are UTF-8 in the source and UTF-16 at the Win32 calls. Windows
// builds only.
#ifndef TEVOL_COMMON_PLATFORM_UTF16_WINDOWS_H_
#define TEVOL_COMMON_PLATFORM_UTF16_WINDOWS_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace tevol {

inline std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  }
  return wide;
}

inline std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                          nullptr, nullptr);
  }
  return utf8;
}

}  // namespace tevol

#endif  // TEVOL_COMMON_PLATFORM_UTF16_WINDOWS_H_
