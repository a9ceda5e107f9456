#include "core/cp1251.h"

#include <array>

#include "core/error.h"
#include "core/messages.h"
#include "core/unicode_1251.h"

namespace glossira {
namespace {

constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Walks UTF-16 code units; a surrogate (paired or not) is never mappable.
template <class OnUnmappable>
bool Convert(std::u16string_view in, std::string& out, OnUnmappable onUnmappable)
{
    out.clear();
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        char16_t c = in[i];
        int b = (c >= 0xD800 && c <= 0xDFFF) ? -1 : ByteFor1251(c);
        if (b >= 0) {
            out += static_cast<char>(b);
            continue;
        }
        if (!onUnmappable(out)) return false;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF)
            ++i;  // one replacement for the pair
    }
    return true;
}

}  // namespace

int ByteFor1251(char32_t cp)
{
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < 64; ++i)
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

std::u16string ToUtf16(std::string_view cp1251)
{
    std::u16string out;
    out.resize(cp1251.size());
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        auto b = static_cast<unsigned char>(cp1251[i]);
        out[i] = b < 0x80 ? char16_t(b) : kHigh[b - 0x80];
    }
    return out;
}

std::optional<std::string> TryToCp1251(std::u16string_view utf16)
{
    std::string out;
    if (!Convert(utf16, out, [](std::string&) { return false; })) return std::nullopt;
    return out;
}

std::string ToCp1251Lossy(std::u16string_view utf16)
{
    std::string out;
    Convert(utf16, out, [](std::string& o) { o += '?'; return true; });
    return out;
}

std::string ToCp1251(std::u16string_view utf16)
{
    if (auto out = TryToCp1251(utf16)) return *out;
    constexpr std::size_t kShown = 80;  // long texts are named by their start
    std::string shown = ToCp1251Lossy(utf16.substr(0, kShown));
    if (utf16.size() > kShown) shown += "...";
    throw Error(Format(msg::NotIn1251(), shown));
}

std::string FromUtf8(std::string_view s)
{
    std::string out;
    Utf8To1251 decoder;
    decoder.Feed(s, out);
    decoder.Finish(out);
    return out;
}

std::string ToUtf8(std::string_view cp1251)
{
    std::string out;
    for (char16_t c : ToUtf16(cp1251)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace glossira
