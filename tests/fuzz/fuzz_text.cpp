// Field, trimming, case and path helpers against simple reference rules.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/paths.h"
#include "core/text.h"

using namespace glossira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    char sep = static_cast<char>(data[0]);
    int n = static_cast<signed char>(data[1]);
    std::string s(reinterpret_cast<const char*>(data + 2), size - 2);

    // Fields joined back with the separator give the text again.
    int count = CountFields(s, sep);
    std::string joined;
    for (int i = 1; i <= count; ++i) {
        if (i > 1) joined += sep;
        joined += FieldAt(i, s, sep);
    }
    if (joined != s) std::abort();
    std::string field = FieldAt(n, s, sep);
    if (field.find(sep) != std::string::npos) std::abort();
    if (n < 1 && !field.empty()) std::abort();

    std::string up = UpperCase1251(s);
    if (up.size() != s.size() || UpperCase1251(up) != up) std::abort();

    std::string trimmed = TrimSpaces(s);
    if (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.back() == ' ')) std::abort();
    if (s.find(trimmed) == std::string::npos) std::abort();
    if (StripQuotes(s).find('"') != std::string::npos) std::abort();

    std::string withSlash = WithTrailingBackslash(s);
    if (!s.empty() && (withSlash.back() != '\\' || (withSlash.size() > 1 && withSlash[withSlash.size() - 2] == '\\')))
        std::abort();
    // The folder and the name never overlap and never grow the path.
    if (FolderPart(s).size() > s.size() || FileNamePart(s).size() > s.size()) std::abort();
    if (s.size() < FileNamePart(s).size() + FolderPart(s).size()) std::abort();
    if (NameWithoutExt(s).size() > FileNamePart(s).size()) std::abort();
    return 0;
}
