// The comment file: line-end normalisation, the control text and the save
// composition. Loading then saving a file changes nothing but its line ends;
// normalising twice changes nothing more; the list always follows the text.
// A comment decoded whole (Windows-1251 or UTF-8) is encoded back to the very
// bytes it came from.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/comment_encoding.h"
#include "core/comment_file.h"

using namespace glossira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string loaded = NormalizeLineEnds(bytes);
    if (NormalizeLineEnds(loaded) != loaded) std::abort();
    // Every CR is followed by LF and every LF preceded by CR.
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (loaded[i] == '\r' && (i + 1 >= loaded.size() || loaded[i + 1] != '\n')) std::abort();
        if (loaded[i] == '\n' && (i == 0 || loaded[i - 1] != '\r')) std::abort();
    }
    // Removing the line ends gives the same characters as before.
    auto strip = [](const std::string& s) {
        std::string out;
        for (char c : s)
            if (c != '\r' && c != '\n') out += c;
        return out;
    };
    if (strip(loaded) != strip(bytes)) std::abort();
    // Through the edit control and back, NUL bytes included.
    if (FromControlText(ToControlText(loaded)) != loaded) std::abort();
    // Saving without a list writes the text exactly.
    if (ComposeComment(loaded, {}) != loaded) std::abort();
    std::vector<std::string> items;
    std::size_t cut = size / 2;
    items.push_back(std::string(bytes.substr(cut, 8)));
    std::string saved = ComposeComment(loaded, items);
    if (saved.compare(0, loaded.size(), loaded) != 0) std::abort();
    if (saved.size() < 2 || saved.compare(saved.size() - 2, 2, "\r\n") != 0) std::abort();

    DecodedComment decoded = DecodeComment(bytes);
    if (decoded.encoding == CommentEncoding::Cp1251 && (decoded.text != bytes || decoded.lossy)) std::abort();
    if (!decoded.lossy && EncodeComment(decoded.text, decoded.encoding) != bytes) std::abort();
    return 0;
}
