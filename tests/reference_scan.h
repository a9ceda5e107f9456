// The harvest's reading of one log, done the plain way: the tests and the
// fuzz target hold the streaming scanner against it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"

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

}  // namespace glossira
