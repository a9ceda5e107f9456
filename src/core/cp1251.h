// Windows-1251 <-> UTF-16, by the program's own table: the system ANSI code
// page is never used, so the program behaves the same under any locale.
// Every one of the 256 bytes round-trips (0x98, unassigned, maps to U+0098).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glossira {

std::u16string ToUtf16(std::string_view cp1251);

// The byte of a Unicode code point, or -1 when Windows-1251 has none.
int ByteFor1251(char32_t cp);

// Empty when the text holds a character Windows-1251 cannot hold.
std::optional<std::string> TryToCp1251(std::u16string_view utf16);

// Fails with a clear error naming the text when a character cannot be held.
std::string ToCp1251(std::u16string_view utf16);

// For display only: characters Windows-1251 cannot hold become '?'.
std::string ToCp1251Lossy(std::u16string_view utf16);

// UTF-8 (the encoding of the program's source files) to Windows-1251; the
// program's literal texts pass through here. Unmappable characters become '?'.
std::string FromUtf8(std::string_view utf8);
// Windows-1251 to UTF-8, for tests and tools.
std::string ToUtf8(std::string_view cp1251);

}  // namespace glossira
