// The harvest's reading of one log, done the plain way: the tests and the
// fuzz target hold the streaming scanner against it.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp1251.h"
#include "core/text.h"
#include "sources/cp866.h"
#include "sources/description_text.h"

namespace glossira {

inline std::vector<std::string> ReferenceScan(std::string text, const std::string& name, bool all)
{
    std::vector<std::string> hits;
    std::string needle = UpperCase1251(name);
    if (needle.empty()) return hits;
    text = text.substr(0, text.find('\x1a'));
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    std::size_t start = 0;
    for (;;) {
        std::size_t lf = text.find('\n', start);
        std::string line = text.substr(start, lf == std::string::npos ? std::string::npos : lf - start);
        if (UpperCase1251(line).find(needle) != std::string::npos) {
            hits.push_back(line);
            if (!all) break;
        }
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return hits;
}

// The Windows-1251 byte of a code point, or -1: ASCII and the Russian
// letters by their arithmetic, anything else by looking for the byte that
// reads back as it.
inline int ReferenceByte(char32_t cp)
{
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x410 && cp <= 0x44F) return static_cast<int>(cp - 0x410 + 0xC0);
    if (cp == 0x401) return 0xA8;
    if (cp == 0x451) return 0xB8;
    for (int b = 0x80; b < 0xC0; ++b)
        if (ToUtf16(std::string(1, static_cast<char>(b)))[0] == cp) return b;
    return -1;
}

// The text after a UTF-8 mark, decoded whole: each well-formed sequence
// gives its character's byte (or '?'), each malformed piece, that is the
// longest start of a sequence that could still have been valid, one '?'.
// After a Ctrl-D, a lone 0xC2 or the character U+00C2 stays the byte 0xC2.
inline std::string ReferenceUtf8(std::string_view bytes)
{
    std::string out;
    auto afterCtrlD = [&] { return !out.empty() && out.back() == '\x04'; };
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4                 ? 4
                                                                                   : 0;
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        std::size_t got = 1;
        for (; got < length && i + got < bytes.size(); ++got) {
            const auto next = static_cast<unsigned char>(bytes[i + got]);
            // The second byte rules out overlong forms, surrogates and
            // code points beyond U+10FFFF.
            unsigned char low = 0x80, high = 0xBF;
            if (got == 1 && lead == 0xE0) low = 0xA0;
            if (got == 1 && lead == 0xED) high = 0x9F;
            if (got == 1 && lead == 0xF0) low = 0x90;
            if (got == 1 && lead == 0xF4) high = 0x8F;
            if (next < low || next > high) break;
            cp = cp << 6 | (next & 0x3F);
        }
        const bool mark = afterCtrlD() && (got < length ? lead == 0xC2 : cp == 0xC2);
        const int byte = mark ? 0xC2 : got < length ? -1 : ReferenceByte(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        i += got;
    }
    return out;
}

// The text after a UTF-16 LE mark, decoded whole: a surrogate pair, a lone
// surrogate and a pair cut off at the end (with or without its last odd
// byte) each give one '?', as does an odd byte at the end.
inline std::string ReferenceUtf16(std::string_view bytes)
{
    std::vector<char32_t> units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    bool oddByte = bytes.size() % 2 == 1;
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        int byte = -1;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) ++i;
            else if (i + 1 == units.size()) oddByte = false;
        } else if (unit < 0xDC00 || unit > 0xDFFF) {
            byte = !out.empty() && out.back() == '\x04' && unit == 0xC2 ? 0xC2 : ReferenceByte(unit);
        }
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    if (oddByte) out += '?';
    return out;
}

// Code page 866 decoded byte by byte: the Russian letters by their
// arithmetic, Ё ё Є є Ї ї Ў ў ° ∙ · √ № ¤ ■ and the no-break space from the
// code page's last row; box drawing has no Windows-1251 byte. The byte
// after a Ctrl-D stays as it is.
inline std::string Reference866(std::string_view bytes)
{
    static constexpr char32_t kLastRow[16] = {0x401, 0x451, 0x404, 0x454, 0x407, 0x457, 0x40E, 0x45E,
                                              0xB0,  0x2219, 0xB7, 0x221A, 0x2116, 0xA4, 0x25A0, 0xA0};
    std::string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char32_t cp = b < 0x80   ? b
                            : b < 0xB0 ? 0x410 + (b - 0x80)
                            : b < 0xE0 ? 0x2500  // box drawing
                            : b < 0xF0 ? 0x440 + (b - 0xE0)
                                       : kLastRow[b - 0xF0];
        const int byte = ReferenceByte(cp);
        // What follows a Ctrl-D is another program's mark, kept as it is.
        out += !out.empty() && out.back() == '\x04' ? c : byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

// The whole log decoded at once by its mark (or from code page 866 when its
// start reads so), then read as above; a hit is its description's lines
// joined with LF (a no-break space breaks a line of a marked file), and
// counts only while it still names the target.
inline std::vector<std::string> ReferenceRead(const std::string& bytes, const std::string& name, bool all)
{
    const std::string_view view(bytes);
    const bool unicode = view.starts_with("\xEF\xBB\xBF") || view.starts_with("\xFF\xFE");
    const std::string text = view.starts_with("\xEF\xBB\xBF")                     ? ReferenceUtf8(view.substr(3))
                             : view.starts_with("\xFF\xFE")                         ? ReferenceUtf16(view.substr(2))
                             : LooksLikeCp866(view.substr(0, std::size_t{1} << 18)) ? Reference866(view)
                                                                                    : bytes;
    const std::string upper = UpperCase1251(name);
    const bool breaks = unicode && upper.find('\xA0') == std::string::npos;
    std::vector<std::string> hits;
    for (const std::string& line : ReferenceScan(text, name, true)) {
        std::vector<std::string> parts = DescriptionLines(line);
        std::vector<std::string> lines;
        for (const std::string& part : parts) {
            for (std::size_t start = 0;;) {
                std::size_t brk = breaks ? part.find('\xA0', start) : std::string::npos;
                lines.push_back(part.substr(start, brk == std::string::npos ? brk : brk - start));
                if (brk == std::string::npos) break;
                start = brk + 1;
            }
        }
        std::string joined;
        for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "\n" : "") + lines[i];
        if (UpperCase1251(joined).find(upper) == std::string::npos) continue;
        hits.push_back(joined);
        if (!all) break;
    }
    return hits;
}

}  // namespace glossira
