#pragma once

#include <string>
#include <string_view>

#include "base/SecureMemory.h"

namespace vantrel {

// The Windows ANSI code page that stands for the user's locale (LC_ALL, LC_CTYPE, LANG;
// 1252 when unknown); VANTREL_CODEPAGE overrides it.
int SystemAnsiCodePage();
// The ANSI code page of a Windows language ID (1031 -> 1252, 1049 -> 1251, ...).
int CodePageOfLanguage(int languageId);

// UTF-8 text to bytes of a code page; a character with no byte there becomes "?".
ByteString Utf8ToAnsi(std::string_view utf8, int codePage);
inline ByteString Utf8ToAnsi(std::string_view utf8) { return Utf8ToAnsi(utf8, SystemAnsiCodePage()); }
std::string AnsiToUtf8(const ByteString& bytes, int codePage);

// Exact UTF-8 to UTF-16 (invalid sequences become U+FFFD).
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace vantrel
