#include "sources/cp866.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/cp1251.h"

namespace glossira {
namespace {

// Bytes 0x80-0xFF of code page 866.
constexpr char16_t kUpperHalf[128] = {
    // А-Я
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B,
    0x042C, 0x042D, 0x042E, 0x042F,
    // а-п
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D,
    0x043E, 0x043F,
    // box drawing and blocks
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C,
    0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566,
    0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518,
    0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    // р-я
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D,
    0x044E, 0x044F,
    // Ё ё Є є Ї ї Ў ў ° ∙ · √ № ¤ ■ and the no-break space
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4,
    0x25A0, 0x00A0};

std::array<char, 256> MakeTable()
{
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        int to = b < 0x80 ? b : ByteFor1251(kUpperHalf[b - 0x80]);
        table[static_cast<std::size_t>(b)] = static_cast<char>(to < 0 ? '?' : to);
    }
    return table;
}

enum Vote : unsigned char { kNone = 0, kFor866 = 1, kFor1251 = 2 };

// What one byte of a word says. For 1251: no Russian letter in 866. For
// 866: б-з к м п (0xA1-0xA7, 0xAA, 0xAC, 0xAF) and the capitals А Б Г К
// М-Р Ъ Ь-Я, which Windows-1251 gives to Ў ў Ј ¤ Ґ ¦ § Є ¬ Ї and Ђ Ѓ ѓ Љ
// Њ Ќ Ћ Џ ђ љ њ ќ ћ џ. Not for 866: а и л н о й, whose bytes are the
// no-break space, Ё, «, the soft hyphen, ® and ©; В Д Е Ж З И Й Л С-Щ Ы,
// whose bytes are quotes, dashes, the ellipsis, the bullet, ™, €, ‰, † and ‡.
std::array<Vote, 256> MakeVotes()
{
    std::array<Vote, 256> votes{};
    for (int b = 0xB0; b <= 0xDF; ++b) votes[static_cast<std::size_t>(b)] = kFor1251;
    for (int b = 0xF2; b <= 0xFF; ++b) votes[static_cast<std::size_t>(b)] = kFor1251;
    for (int b : {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xAA, 0xAC, 0xAF, 0x80, 0x81, 0x83, 0x8A, 0x8C, 0x8D,
                  0x8E, 0x8F, 0x90, 0x9A, 0x9C, 0x9D, 0x9E, 0x9F})
        votes[static_cast<std::size_t>(b)] = kFor866;
    return votes;
}

}  // namespace

bool LooksLikeCp866(std::string_view sample)
{
    static const std::array<Vote, 256> kVotes = MakeVotes();
    long long for866 = 0;
    long long for1251 = 0;
    std::size_t length = 0;  // of the word running
    unsigned seen = kNone;   // what its bytes said
    auto endWord = [&] {
        if (length >= 2) {
            if (seen & kFor1251) ++for1251;
            else if (seen & kFor866) ++for866;
        }
        length = 0;
        seen = kNone;
    };
    for (char c : sample) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            endWord();
        } else {
            ++length;
            seen |= kVotes[b];
        }
    }
    endWord();
    return for866 > 2 * for1251;
}

void Cp866To1251(char* bytes, std::size_t size, char& last)
{
    static const std::array<char, 256> kTable = MakeTable();
    for (std::size_t i = 0; i < size;) {
        if (i + 8 <= size) {  // ASCII, the same in both, eight bytes at a time
            std::uint64_t word;
            std::memcpy(&word, bytes + i, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        auto b = static_cast<unsigned char>(bytes[i]);
        // The byte before as read: a converted one is never 0x04.
        if (b >= 0x80 && (i > 0 ? bytes[i - 1] : last) != '\x04') bytes[i] = kTable[b];
        ++i;
    }
    if (size > 0) last = bytes[size - 1];
}

}  // namespace glossira
