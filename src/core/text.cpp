#include "core/text.h"

#include <algorithm>

namespace glossira {

int CountFields(std::string_view s, char sep)
{
    if (s.empty()) return 0;
    return 1 + static_cast<int>(std::count(s.begin(), s.end(), sep));
}

std::string FieldTail(int n, std::string_view s, char sep)
{
    // The text after the (n-1)-th separator, when that tail is not empty.
    if (n < 1 || s.empty()) return {};
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        auto at = s.find(sep, start);
        if (at == std::string_view::npos) return {};
        start = at + 1;
    }
    return std::string(s.substr(start));
}

std::string FieldAt(int n, std::string_view s, char sep)
{
    std::string tail = FieldTail(n, s, sep);
    if (auto at = tail.find(sep); at != std::string::npos) tail.resize(at);
    return tail;
}

std::string UpperCase1251(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = UpCase1251(c);
    return out;
}

std::string TrimLeftChar(std::string_view s, char c)
{
    auto at = s.find_first_not_of(c);
    return at == std::string_view::npos ? std::string() : std::string(s.substr(at));
}

std::string TrimRightChar(std::string_view s, char c)
{
    auto at = s.find_last_not_of(c);
    return at == std::string_view::npos ? std::string() : std::string(s.substr(0, at + 1));
}

std::string TrimLeftSpaces(std::string_view s) { return TrimLeftChar(s, ' '); }

std::string TrimSpaces(std::string_view s) { return TrimRightChar(TrimLeftChar(s, ' '), ' '); }

std::string StripQuotes(std::string_view s)
{
    std::string out(s);
    out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
    return out;
}

}  // namespace glossira
