// UTF-16 LE text as the bytes a file or a clipboard block holds, for tests.
#pragma once

#include <string>
#include <string_view>

namespace glossira::test {

inline std::string Utf16LeBytes(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

}  // namespace glossira::test
