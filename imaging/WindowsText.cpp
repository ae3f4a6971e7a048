#include "imaging/WindowsText.h"

#include <windows.h>

#include "platform/WindowsHandles.h"

namespace hostsim {

std::wstring Utf16FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
  return wide;
}

std::string Utf8FromUtf16(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
  return narrow;
}

std::string Utf8FromUtf16(const wchar_t* text) { return Utf8FromUtf16(std::wstring(text != nullptr ? text : L"")); }

std::string SystemErrorText(uint32_t code) {
  std::string text = "error " + std::to_string(code);
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is where the allocated text's address goes.
  zem::UniqueLocalMemory<wchar_t> message;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(message.put()), 0, nullptr);
  if (length != 0 && message) {
    std::wstring words(message.get(), length);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ')) {
      words.pop_back();
    }
    if (!words.empty()) text += ": " + Utf8FromUtf16(words);
  }
  return text;
}

}  // namespace hostsim
