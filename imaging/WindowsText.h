// Text between the UTF-8 the host model keeps and the UTF-16 of Windows' wide functions, and the
// system's words for its error codes. Windows only.
#pragma once

#include <cstdint>
#include <string>

namespace hostsim {

// Invalid sequences become U+FFFD, in both directions.
std::wstring Utf16FromUtf8(const std::string& text);
std::string Utf8FromUtf16(const std::wstring& text);
std::string Utf8FromUtf16(const wchar_t* text);

// "error 32: The process cannot access the file because it is being used by another process."
std::string SystemErrorText(uint32_t code);

}  // namespace hostsim
