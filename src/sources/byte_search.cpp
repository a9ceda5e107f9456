#include "sources/byte_search.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "core/text.h"
#include "sources/simd.h"

namespace glossira {
namespace {

constexpr std::size_t kCommonEvery = 2048;  // a byte seen once in fewer bytes than this is common

// How often a byte turns up in a typical download log or description list
// (English words, URLs, dates, sizes): the scan searches for the rarest byte
// of the name.
int Weight(unsigned char b)
{
    static constexpr int kLatin[26] = {82, 15, 28, 43, 127, 22, 20, 61, 70, 2,  8,  40, 24,
                                       67, 75, 19, 1,  60, 63,  91, 28, 10, 24, 2, 20, 1};
    if (b == ' ') return 160;
    if (b >= 'a' && b <= 'z') return kLatin[b - 'a'];
    if (b >= 'A' && b <= 'Z') return kLatin[b - 'A'] / 8 + 1;
    if (b >= '0' && b <= '9') return b <= '2' ? 60 : 35;
    switch (b) {
    case '.': case '/': return 45;
    case ':': case '-': case '\r': case '\n': return 25;
    case '_': case '\\': case '=': case ',': return 10;
    default: break;
    }
    if (b >= 0xC0) return 4;  // Cyrillic letters
    if (b > 0x20 && b < 0x7F) return 3;
    return 1;
}

unsigned char Fold(unsigned char b) { return kUpCase1251[b]; }

#if GLOSSIRA_SSE2
// The pair filter over whole vectors. Setting the case bit merges the two
// cases of a letter; it may let another byte through too, which Verify then
// turns down. A CR after the first byte always passes: a lone CR may stand
// inside the name. Each function returns the first position passing, or
// kNone with `p` left where whole vectors end.
struct PairScan {
    const unsigned char* b;
    std::size_t end;
    unsigned char rare, pair;  // with the case bit set
};

std::size_t PairsSse2(const PairScan& s, std::size_t& p)
{
    const __m128i fold = _mm_set1_epi8(static_cast<char>(kCaseBit1251)), cr = _mm_set1_epi8('\r');
    const __m128i rare = _mm_set1_epi8(static_cast<char>(s.rare)), pair = _mm_set1_epi8(static_cast<char>(s.pair));
    auto hits = [&](std::size_t at) {
        __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.b + at));
        __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.b + at + 1));
        __m128i isRare = _mm_cmpeq_epi8(_mm_or_si128(here, fold), rare);
        __m128i isPair = _mm_or_si128(_mm_cmpeq_epi8(_mm_or_si128(next, fold), pair), _mm_cmpeq_epi8(next, cr));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(isRare, isPair)));
    };
    const std::size_t reach = 17;  // the next byte too
    for (; p + reach <= s.end; p += 16)
        if (unsigned mask = hits(p)) return p + static_cast<std::size_t>(std::countr_zero(mask));
    return ByteSearch::kNone;
}

#if GLOSSIRA_AVX2
GLOSSIRA_TARGET_AVX2 std::size_t PairsAvx2(const PairScan& s, std::size_t& p)
{
    const __m256i fold = _mm256_set1_epi8(static_cast<char>(kCaseBit1251)), cr = _mm256_set1_epi8('\r');
    const __m256i rare = _mm256_set1_epi8(static_cast<char>(s.rare)), pair = _mm256_set1_epi8(static_cast<char>(s.pair));
    auto hits = [&](std::size_t at) GLOSSIRA_TARGET_AVX2 {
        __m256i here = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s.b + at));
        __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s.b + at + 1));
        __m256i isRare = _mm256_cmpeq_epi8(_mm256_or_si256(here, fold), rare);
        __m256i isPair =
            _mm256_or_si256(_mm256_cmpeq_epi8(_mm256_or_si256(next, fold), pair), _mm256_cmpeq_epi8(next, cr));
        return _mm256_and_si256(isRare, isPair);
    };
    const std::size_t reach = 33;
    for (; p + 32 + reach <= s.end; p += 64) {
        __m256i first = hits(p), second = hits(p + 32);
        if (!_mm256_testz_si256(_mm256_or_si256(first, second), _mm256_or_si256(first, second))) {
            auto mask = static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(first))) |
                        static_cast<std::uint64_t>(static_cast<unsigned>(_mm256_movemask_epi8(second))) << 32;
            return p + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
    return ByteSearch::kNone;
}
#endif
#endif

}  // namespace

ByteSearch::ByteSearch(std::string upperName) : needle_(std::move(upperName)) { Choose(nullptr, 0); }

// The byte of the name (in both cases) seen least often in the sample; the
// fixed weights decide between bytes seen equally often.
void ByteSearch::Choose(const char* sample, std::size_t size)
{
    std::size_t counts[256] = {};
    for (std::size_t i = 0; i < size; ++i) ++counts[static_cast<unsigned char>(sample[i])];
    unsigned long long best = ~0ull;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        auto upper = static_cast<unsigned char>(needle_[i]);
        auto lower = static_cast<unsigned char>(LowCase1251(needle_[i]));
        unsigned long long seen = counts[upper] + (lower != upper ? counts[lower] : 0);
        int weight = Weight(upper) + (lower != upper ? Weight(lower) : 0);
        unsigned long long score = seen * 1024 + static_cast<unsigned long long>(weight);
        if (score < best) {
            best = score;
            rare_ = i;
        }
    }
    pairs_ = false;
    if (needle_.size() >= 2 && best / 1024 * kCommonEvery > size) {
        // Even that byte is common: candidates are the places of the name's
        // pair of adjacent bytes seen least often.
        std::vector<std::uint32_t> pairs(65536);
        for (std::size_t i = 0; i + 1 < size; ++i)
            ++pairs[Fold(static_cast<unsigned char>(sample[i])) << 8 | Fold(static_cast<unsigned char>(sample[i + 1]))];
        best = ~0ull;
        for (std::size_t i = 0; i + 1 < needle_.size(); ++i) {
            auto first = static_cast<unsigned char>(needle_[i]), second = static_cast<unsigned char>(needle_[i + 1]);
            unsigned long long score = pairs[first << 8 | second] * 1024ull + static_cast<unsigned long long>(Weight(first) + Weight(second));
            if (score < best) {
                best = score;
                rare_ = i;
            }
        }
        pairs_ = true;
        pairA_ = needle_[rare_ + 1];
        pairB_ = LowCase1251(pairA_);
    }
    rareA_ = needle_[rare_];
    rareB_ = LowCase1251(rareA_);
    cacheValid_ = false;
}

std::size_t ByteSearch::Next(const char* b, std::size_t pos, std::size_t end)
{
    if (pos >= end) return kNone;
    if (pairs_) return NextPair(reinterpret_cast<const unsigned char*>(b), pos, end);
    auto find = [&](char c) {
        auto at = static_cast<const char*>(std::memchr(b + pos, c, end - pos));
        return at ? static_cast<std::size_t>(at - b) : end;
    };
    if (!cacheValid_) {
        nextA_ = find(rareA_);
        nextB_ = rareB_ != rareA_ ? find(rareB_) : end;
        cacheValid_ = true;
    } else {
        if (nextA_ < pos) nextA_ = find(rareA_);
        if (nextB_ < pos && rareB_ != rareA_) nextB_ = find(rareB_);
    }
    std::size_t at = std::min(nextA_, nextB_);
    return at < end ? at : kNone;
}

// The first position from `pos` holding the rare byte followed by the pair
// byte, a CR (a lone CR may stand inside the name) or nothing read yet.
// Whole vectors at a time where SSE2 or AVX2 is at hand.
std::size_t ByteSearch::NextPair(const unsigned char* b, std::size_t pos, std::size_t end) const
{
    auto rare = [&](unsigned char c) { return c == static_cast<unsigned char>(rareA_) || c == static_cast<unsigned char>(rareB_); };
    auto pair = [&](unsigned char c) {
        return c == static_cast<unsigned char>(pairA_) || c == static_cast<unsigned char>(pairB_) || c == '\r';
    };
    auto candidate = [&](std::size_t p) { return rare(b[p]) && (p + 1 == end || pair(b[p + 1])); };
    std::size_t p = pos;
#if GLOSSIRA_SSE2
    PairScan scan{b, end, static_cast<unsigned char>(rareA_ | kCaseBit1251), static_cast<unsigned char>(pairA_ | kCaseBit1251)};
#if GLOSSIRA_AVX2
    if (CpuHasAvx2())
        if (std::size_t at = PairsAvx2(scan, p); at != kNone) return at;
#endif
    if (std::size_t at = PairsSse2(scan, p); at != kNone) return at;
#endif
    for (; p < end; ++p)
        if (candidate(p)) return p;
    return kNone;
}

// Compares the name with the bytes around p, where its rare byte should be,
// skipping CRs. LF never equals a byte of the name, so a match cannot cross a
// line end.
ByteSearch::Verdict ByteSearch::Verify(const char* b, std::size_t p, std::size_t end, bool ended) const
{
    if (UpCase1251(b[p]) != needle_[rare_]) return Verdict::kNo;
    std::size_t j = p;
    for (std::size_t i = rare_; i-- > 0;) {
        do {
            if (j == 0) return Verdict::kNo;
            --j;
        } while (b[j] == '\r');
        if (UpCase1251(b[j]) != needle_[i]) return Verdict::kNo;
    }
    j = p + 1;
    for (std::size_t i = rare_ + 1; i < needle_.size(); ++i) {
        while (j < end && b[j] == '\r') ++j;
        if (j == end) return ended ? Verdict::kNo : Verdict::kMore;
        if (UpCase1251(b[j]) != needle_[i]) return Verdict::kNo;
        ++j;
    }
    return Verdict::kYes;
}

}  // namespace glossira
