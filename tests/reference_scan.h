// The harvest's reading of one log, done the plain way: the tests and the
// fuzz target hold the streaming scanner against it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/unicode_1251.h"
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

// The whole log decoded at once by its mark (or from code page 866 when its
// start reads so), then read as above; a hit is its description's lines
// joined with LF, and counts only while it still names the target.
inline std::vector<std::string> ReferenceRead(const std::string& bytes, const std::string& name, bool all)
{
    std::string text;
    bool unicode = true;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        Utf8To1251 decoder(true);
        decoder.Feed(std::string_view(bytes).substr(3), text);
        decoder.Finish(text);
    } else if (bytes.starts_with("\xFF\xFE")) {
        Utf16LeTo1251 decoder(true);
        decoder.Feed(std::string_view(bytes).substr(2), text);
        decoder.Finish(text);
    } else {
        unicode = false;
        text = bytes;
        char last = 0;
        if (LooksLikeCp866(std::string_view(text).substr(0, std::size_t{1} << 18)))
            Cp866To1251(text.data(), text.size(), last);
    }
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
