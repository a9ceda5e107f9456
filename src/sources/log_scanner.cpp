#include "sources/log_scanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define GLOSSIRA_SSE2 1
#else
#define GLOSSIRA_SSE2 0
#endif
// AVX2 is chosen at run time where the compiler can build it for one function.
#if GLOSSIRA_SSE2 && (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define GLOSSIRA_AVX2 1
#else
#define GLOSSIRA_AVX2 0
#endif

#include "core/error.h"
#include "core/text.h"

namespace glossira {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr char kCtrlZ = 26;
constexpr std::size_t kSampleSize = std::size_t{1} << 18;  // bytes counted to choose the byte searched for
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

// The lower-case byte that UpCase1251 folds onto `upper`, or `upper` itself.
char OtherCase(char upper)
{
    auto u = static_cast<unsigned char>(upper);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDF)) return static_cast<char>(u + 0x20);
    return upper;
}

// Index of the last `c` in b[0, n), or kNone; eight bytes at a time.
std::size_t LastIndexOf(const char* b, std::size_t n, char c)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    std::size_t i = n;
    while (i >= 8) {
        std::uint64_t word;
        std::memcpy(&word, b + i - 8, 8);
        std::uint64_t x = word ^ pattern;
        if ((x - kOnes) & ~x & (kOnes << 7)) break;
        i -= 8;
    }
    while (i > 0)
        if (b[--i] == c) return i;
    return kNone;
}

void AppendWithoutCr(std::string& out, const char* from, const char* to)
{
    while (from < to) {
        auto cr = static_cast<const char*>(std::memchr(from, '\r', static_cast<std::size_t>(to - from)));
        const char* stop = cr ? cr : to;
        out.append(from, stop);
        from = cr ? cr + 1 : to;
    }
}

#if GLOSSIRA_SSE2
// The pair filter over whole vectors. Setting bit 5 merges the two cases
// of a letter; it may let another byte through too, which Verify then turns
// down. A CR after the first byte always passes: a lone CR may stand inside
// the name. Each function returns the first position passing, or kNone
// with `p` left where whole vectors end.
struct PairScan {
    const unsigned char* b;
    std::size_t end;
    unsigned char rare, pair;  // with bit 5 set
};

std::size_t PairsSse2(const PairScan& s, std::size_t& p)
{
    const __m128i fold = _mm_set1_epi8(0x20), cr = _mm_set1_epi8('\r');
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
    return kNone;
}

#if GLOSSIRA_AVX2
__attribute__((target("avx2"))) std::size_t PairsAvx2(const PairScan& s, std::size_t& p)
{
    const __m256i fold = _mm256_set1_epi8(0x20), cr = _mm256_set1_epi8('\r');
    const __m256i rare = _mm256_set1_epi8(static_cast<char>(s.rare)), pair = _mm256_set1_epi8(static_cast<char>(s.pair));
    auto hits = [&](std::size_t at) __attribute__((target("avx2"))) {
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
    return kNone;
}

bool HasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif
#endif

}  // namespace

LogScanner::LogScanner(std::string_view name, std::size_t blockSize)
    : needle_(UpperCase1251(name)), block_(std::max<std::size_t>(blockSize, 1))
{
    canMatch_ = !needle_.empty() && needle_.find_first_of("\r\n\x1a") == std::string::npos;
    for (int c = 0; c < 256; ++c) fold_[c] = UpCase1251(static_cast<char>(c));
    if (!canMatch_) return;
    ChooseRareByte(nullptr, 0);
    buffer_.resize(block_ + std::max(block_, needle_.size()));
}

// The byte of the name (in both cases) seen least often in a sample of the
// log; the fixed weights decide between bytes seen equally often.
void LogScanner::ChooseRareByte(const char* sample, std::size_t size)
{
    std::size_t counts[256] = {};
    for (std::size_t i = 0; i < size; ++i) ++counts[static_cast<unsigned char>(sample[i])];
    unsigned long long best = ~0ull;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        auto upper = static_cast<unsigned char>(needle_[i]);
        auto lower = static_cast<unsigned char>(OtherCase(needle_[i]));
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
            ++pairs[static_cast<unsigned char>(fold_[static_cast<unsigned char>(sample[i])]) << 8 |
                    static_cast<unsigned char>(fold_[static_cast<unsigned char>(sample[i + 1])])];
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
        pairB_ = OtherCase(pairA_);
    }
    rareA_ = needle_[rare_];
    rareB_ = OtherCase(rareA_);
}

void LogScanner::Scan(InputFile& file, const Reopen& reopen, bool allHits, std::vector<std::string>& hits,
                      const Accept& accept)
{
    if (!canMatch_) return;
    end_ = 0;
    eof_ = false;
    lineKnown_ = true;
    lineStart_ = 0;
    offsetAt_ = 0;
    offsetIdx_ = 0;
    ReadNew(file, 0);
    ChooseRareByte(buffer_.data(), std::min<std::size_t>(end_, kSampleSize));
    std::size_t pos = 0;
    for (;;) {
        std::size_t p = NextCandidate(pos);
        if (p == kNone) {
            if (eof_) return;
            pos = Refill(file, kNone);
            continue;
        }
        Verdict verdict = Verify(p);
        if (verdict == Verdict::kNo) {
            pos = p + 1;
        } else if (verdict == Verdict::kMore) {
            pos = Refill(file, p);
        } else {
            bool more = TakeLine(file, reopen, p, hits, pos);
            if (accept && !accept(hits.back())) hits.pop_back();
            else if (!allHits) return;
            if (!more) return;
        }
    }
}

std::size_t LogScanner::NextCandidate(std::size_t pos)
{
    if (pos >= end_) return kNone;
    if (pairs_) return NextPairCandidate(pos);
    const char* b = buffer_.data();
    auto find = [&](char c) {
        auto at = static_cast<const char*>(std::memchr(b + pos, c, end_ - pos));
        return at ? static_cast<std::size_t>(at - b) : end_;
    };
    if (!cacheValid_) {
        nextA_ = find(rareA_);
        nextB_ = rareB_ != rareA_ ? find(rareB_) : end_;
        cacheValid_ = true;
    } else {
        if (nextA_ < pos) nextA_ = find(rareA_);
        if (nextB_ < pos && rareB_ != rareA_) nextB_ = find(rareB_);
    }
    std::size_t at = std::min(nextA_, nextB_);
    return at < end_ ? at : kNone;
}

// The first position from `pos` holding the rare byte followed by the pair
// byte, a CR (a lone CR may stand inside the name) or nothing read yet.
// Whole vectors at a time where SSE2 or AVX2 is at hand.
std::size_t LogScanner::NextPairCandidate(std::size_t pos) const
{
    auto b = reinterpret_cast<const unsigned char*>(buffer_.data());
    auto rare = [&](unsigned char c) { return c == static_cast<unsigned char>(rareA_) || c == static_cast<unsigned char>(rareB_); };
    auto pair = [&](unsigned char c) {
        return c == static_cast<unsigned char>(pairA_) || c == static_cast<unsigned char>(pairB_) || c == '\r';
    };
    auto candidate = [&](std::size_t p) { return rare(b[p]) && (p + 1 == end_ || pair(b[p + 1])); };
    std::size_t p = pos;
#if GLOSSIRA_SSE2
    PairScan scan{b, end_, static_cast<unsigned char>(rareA_ | 0x20), static_cast<unsigned char>(pairA_ | 0x20)};
#if GLOSSIRA_AVX2
    if (HasAvx2())
        if (std::size_t at = PairsAvx2(scan, p); at != kNone) return at;
#endif
    if (std::size_t at = PairsSse2(scan, p); at != kNone) return at;
#endif
    for (; p < end_; ++p)
        if (candidate(p)) return p;
    return kNone;
}

// Compares the name with the bytes around p, where its rare byte should be,
// skipping CRs. LF never equals a byte of the name, so a match cannot cross a
// line end. Running off buffer index 0 means the line (or the kept context)
// starts there.
LogScanner::Verdict LogScanner::Verify(std::size_t p) const
{
    const char* b = buffer_.data();
    if (fold_[static_cast<unsigned char>(b[p])] != needle_[rare_]) return Verdict::kNo;
    std::size_t j = p;
    for (std::size_t i = rare_; i-- > 0;) {
        do {
            if (j == 0) return Verdict::kNo;
            --j;
        } while (b[j] == '\r');
        if (fold_[static_cast<unsigned char>(b[j])] != needle_[i]) return Verdict::kNo;
    }
    j = p + 1;
    for (std::size_t i = rare_ + 1; i < needle_.size(); ++i) {
        while (j < end_ && b[j] == '\r') ++j;
        if (j == end_) return eof_ ? Verdict::kNo : Verdict::kMore;
        if (fold_[static_cast<unsigned char>(b[j])] != needle_[i]) return Verdict::kNo;
        ++j;
    }
    return Verdict::kYes;
}

// Reads one block after what must be kept: the whole current line when it
// is at most one block long, otherwise (CRs removed) just the context a
// candidate needs before it, plus the pending candidate and what follows it.
// Returns where the scan goes on: the pending candidate, or the new data.
std::size_t LogScanner::Refill(InputFile& file, std::size_t pending)
{
    char* b = buffer_.data();
    std::size_t tail = pending == kNone ? end_ : pending;
    std::size_t ls = LastIndexOf(b, end_, '\n');
    bool lsKnown = lineKnown_;
    if (ls != kNone) {
        ++ls;
        lsKnown = true;
    } else {
        ls = 0;
    }
    std::size_t carry;
    std::size_t next;
    if (lsKnown && end_ - ls <= block_) {
        offsetAt_ = OffsetOf(ls);
        offsetIdx_ = 0;
        carry = end_ - ls;
        std::memmove(b, b + ls, carry);
        next = tail - ls;
        lineKnown_ = true;
    } else {
        if (lsKnown) lineStart_ = OffsetOf(ls);
        std::size_t from = tail;
        for (std::size_t need = rare_; need > 0 && from > ls;)
            if (b[--from] != '\r') --need;
        unsigned long long endOffset = OffsetOf(end_);
        std::size_t w = 0;
        next = kNone;
        for (std::size_t r = from; r < end_; ++r) {
            if (r == tail) next = w;
            if (b[r] != '\r') b[w++] = b[r];
        }
        if (next == kNone) next = w;
        carry = w;
        offsetAt_ = endOffset;
        offsetIdx_ = carry;
        lineKnown_ = false;
    }
    ReadNew(file, carry);
    return next;
}

// Drops the buffer and reads the next block at its start.
void LogScanner::ReadFresh(InputFile& file)
{
    offsetAt_ = OffsetOf(end_);
    offsetIdx_ = 0;
    lineKnown_ = false;
    ReadNew(file, 0);
}

std::size_t LogScanner::ReadNew(InputFile& file, std::size_t at)
{
    char* b = buffer_.data() + at;
    std::size_t got = eof_ ? 0 : file.Read(b, block_);
    if (got == 0) {
        eof_ = true;
    } else if (auto z = static_cast<const char*>(std::memchr(b, kCtrlZ, got))) {
        got = static_cast<std::size_t>(z - b);
        eof_ = true;
    }
    end_ = at + got;
    cacheValid_ = false;
    return end_;
}

// Adds the line holding the hit at p and sets `pos` after it. False when
// the file has ended.
bool LogScanner::TakeLine(InputFile& file, const Reopen& reopen, std::size_t p, std::vector<std::string>& hits,
                          std::size_t& pos)
{
    const char* b = buffer_.data();
    std::size_t lf = LastIndexOf(b, p, '\n');
    bool startHere = lf != kNone || lineKnown_;
    std::size_t start = lf != kNone ? lf + 1 : 0;
    std::string line;
    if (!startHere) line = ReadLineAt(reopen, lineStart_);

    auto e = static_cast<const char*>(std::memchr(b + p, '\n', end_ - p));
    if (e) {
        if (startHere) AppendWithoutCr(line, b + start, e);
        hits.push_back(std::move(line));
        pos = static_cast<std::size_t>(e - b) + 1;
        return true;
    }
    if (startHere) AppendWithoutCr(line, b + start, b + end_);
    while (!eof_) {
        ReadFresh(file);
        e = static_cast<const char*>(std::memchr(b, '\n', end_));
        if (startHere) AppendWithoutCr(line, b, e ? e : b + end_);
        if (e) {
            hits.push_back(std::move(line));
            pos = static_cast<std::size_t>(e - b) + 1;
            lineStart_ = OffsetOf(pos);
            return true;
        }
    }
    hits.push_back(std::move(line));
    pos = end_;
    return false;
}

// The line that starts at `offset`, read through a second handle.
std::string LogScanner::ReadLineAt(const Reopen& reopen, unsigned long long offset) const
{
    std::unique_ptr<InputFile> again = reopen ? reopen() : nullptr;
    if (!again) throw Error("The log could not be opened again to read a long line");
    std::vector<char> chunk(std::min<std::size_t>(block_, 65536));
    while (offset > 0) {
        std::size_t want = offset < chunk.size() ? static_cast<std::size_t>(offset) : chunk.size();
        std::size_t got = again->Read(chunk.data(), want);
        if (got == 0) return {};
        offset -= got;
    }
    std::string line;
    for (;;) {
        std::size_t got = again->Read(chunk.data(), chunk.size());
        const char* b = chunk.data();
        const char* stop = std::find_if(b, b + got, [](char c) { return c == '\n' || c == kCtrlZ; });
        AppendWithoutCr(line, b, stop);
        if (got == 0 || stop != b + got) return line;
    }
}

}  // namespace glossira
