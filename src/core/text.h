// Field, case and trimming helpers over Windows-1251 byte strings. Field
// numbers are 1-based; every function returns a new string and never fails.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace glossira {

int CountFields(std::string_view s, char sep);
std::string FieldTail(int n, std::string_view s, char sep);
std::string FieldAt(int n, std::string_view s, char sep);

// The case rule: Latin a-z and Cyrillic а-я (0xE0-0xFF) fold onto A-Z and
// А-Я; every other byte, ё (0xB8) too, stays.
inline constexpr std::array<unsigned char, 256> kUpCase1251 = [] {
    std::array<unsigned char, 256> up{};
    for (int b = 0; b < 256; ++b)
        up[b] = static_cast<unsigned char>((b >= 0x61 && b <= 0x7A) || b >= 0xE0 ? b - 0x20 : b);
    return up;
}();

constexpr char UpCase1251(char c) { return static_cast<char>(kUpCase1251[static_cast<unsigned char>(c)]); }

// The lower-case byte that UpCase1251 folds onto `upper`, or `upper` itself.
constexpr char LowCase1251(char upper)
{
    for (int b = 0; b < 256; ++b)
        if (kUpCase1251[b] == static_cast<unsigned char>(upper) && b != static_cast<unsigned char>(upper))
            return static_cast<char>(b);
    return upper;
}

// The one bit in which the two cases of every letter differ: setting it in
// both merges them (and may merge some other bytes too).
inline constexpr unsigned char kCaseBit1251 = 'a' ^ kUpCase1251['a'];
static_assert([] {
    for (int b = 0; b < 256; ++b)
        if ((b ^ kUpCase1251[b]) != 0 && (b ^ kUpCase1251[b]) != kCaseBit1251) return false;
    return true;
}());

std::string UpperCase1251(std::string_view s);

std::string TrimLeftChar(std::string_view s, char c);
std::string TrimRightChar(std::string_view s, char c);
std::string TrimLeftSpaces(std::string_view s);
std::string TrimSpaces(std::string_view s);  // blanks (0x20) only
std::string StripQuotes(std::string_view s);

}  // namespace glossira
