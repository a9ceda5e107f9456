// Field, case and trimming helpers over Windows-1251 byte strings. Field
// numbers are 1-based; every function returns a new string and never fails.
#pragma once

#include <string>
#include <string_view>

namespace glossira {

int CountFields(std::string_view s, char sep);
std::string FieldTail(int n, std::string_view s, char sep);
std::string FieldAt(int n, std::string_view s, char sep);

// Latin a-z and Cyrillic а-я (0xE0-0xFF) only; ё (0xB8) stays.
char UpCase1251(char c);
std::string UpperCase1251(std::string_view s);

std::string TrimLeftChar(std::string_view s, char c);
std::string TrimRightChar(std::string_view s, char c);
std::string TrimLeftSpaces(std::string_view s);
std::string TrimSpaces(std::string_view s);  // blanks (0x20) only
std::string StripQuotes(std::string_view s);

}  // namespace glossira
