// The streaming log scanner agrees with a plain line-by-line reading for
// any text, name, block size, read size and hit mode; and so does the
// harvest's whole reading (the log decoded by its mark as it streams, the
// hits as inserted) with the log decoded at once and read line by line.
//
// Input: flags, block size, read size, name length, the name, then the log.
// Flag 1: every hit; flag 2: bytes are mapped onto a small alphabet of
// letters in both cases, CR, LF, Ctrl-Z, Ctrl-D, 0xC2, a backslash, the
// no-break space, a letter of code page 866 and a few more, so that names
// match often and some logs read as 866; flag 4: the harvest's reading, the
// log after a UTF-8 mark (flag 8), a UTF-16 LE mark (flag 16) or none.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/text.h"
#include "reference_scan.h"
#include "sources/description_text.h"
#include "sources/log_encoding.h"
#include "sources/log_scanner.h"

using namespace glossira;

namespace {

class BytesFile final : public InputFile {
public:
    BytesFile(const std::string& bytes, std::size_t chunk) : bytes_(bytes), chunk_(chunk) {}
    std::size_t Read(char* buffer, std::size_t size) override
    {
        std::size_t n = std::min({size, chunk_, bytes_.size() - pos_});
        std::memcpy(buffer, bytes_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    const std::string& bytes_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

char Small(std::uint8_t b)
{
    // '-' and CR, ' ' and NUL differ only in bit 5, as the letters' cases do.
    static const char kAlphabet[] = {'a', 'A', 'b', 'B', '\r', '\n', ' ', '\xe0', '\xc0', '\xb8', 'a', 'b',
                                     '\r', '-', '\0', '\x04', '\xc2', '\\', 'n', '\xa0', '\xa3', '\x1a'};
    // Ctrl-Z rarely, so that most logs go on past their first few bytes.
    std::size_t i = b % sizeof kAlphabet;
    if (kAlphabet[i] == '\x1a' && b < 240) i = 0;
    return kAlphabet[i];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) return 0;
    bool all = data[0] & 1;
    bool small = data[0] & 2;
    std::size_t block = data[1] < 200 ? 1 + data[1] % 32 : 1 + (data[1] - 200) * 157u;
    std::size_t chunk = data[2] == 255 ? static_cast<std::size_t>(-1) : 1 + data[2] % 48;
    std::size_t nameLength = std::min<std::size_t>(data[3] % 9, size - 4);
    std::string name(reinterpret_cast<const char*>(data + 4), nameLength);
    std::string text(reinterpret_cast<const char*>(data + 4 + nameLength), size - 4 - nameLength);
    if (small) {
        for (char& c : name) c = Small(static_cast<std::uint8_t>(c));
        for (char& c : text) c = Small(static_cast<std::uint8_t>(c));
    }

    LogScanner scanner(name, block);
    std::vector<std::string> hits;
    if (data[0] & 4) {
        if (data[0] & 8) text.insert(0, "\xEF\xBB\xBF");
        else if (data[0] & 16) text.insert(0, "\xFF\xFE");
        const std::string upper = UpperCase1251(name);
        auto open = [&] { return DecodedLog(std::make_unique<BytesFile>(text, chunk)); };
        auto file = open();
        scanner.Scan(*file, open, all, hits, [&](std::string& line) {
            return AsInserted(line, upper, NoBreakSpaceBreaks(file->Encoding()));
        });
        if (hits != ReferenceRead(text, name, all)) std::abort();
        return 0;
    }
    BytesFile file(text, chunk);
    scanner.Scan(file, [&] { return std::make_unique<BytesFile>(text, chunk); }, all, hits);
    if (hits != ReferenceScan(text, name, all)) std::abort();
    return 0;
}
