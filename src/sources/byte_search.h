// Finds where an upper-cased name may stand in a buffer of Windows-1251
// text, case-blind, and checks each such place.
//
// Only around a candidate is anything more than a memchr done: the byte
// searched for is the name's byte seen least often in a sample of the text,
// or, when every byte of the name is common there, its rarest pair of
// adjacent bytes, found with SSE2 or AVX2. A CR inside the name's place is
// skipped, as the log's reader drops lone CRs from a line.
#pragma once

#include <cstddef>
#include <string>

namespace glossira {

class ByteSearch {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    enum class Verdict { kNo, kYes, kMore };  // kMore: the buffer ends inside the name

    explicit ByteSearch(std::string upperName);

    const std::string& Name() const { return needle_; }

    // Chooses the byte (or pair) searched for from the counts in `sample`.
    void Choose(const char* sample, std::size_t size);

    // How many bytes of the name stand before a candidate's byte.
    std::size_t Before() const { return rare_; }

    // The first candidate in b[pos, end), or kNone. Call Forget() whenever
    // the buffer's bytes change.
    std::size_t Next(const char* b, std::size_t pos, std::size_t end);
    void Forget() { cacheValid_ = false; }

    // Whether the name stands around the candidate at p, CRs skipped; b[0]
    // is as far back as it may start. `ended`: no bytes follow b[end).
    Verdict Verify(const char* b, std::size_t p, std::size_t end, bool ended) const;

private:
    std::size_t NextPair(const unsigned char* b, std::size_t pos, std::size_t end) const;

    std::string needle_;
    std::size_t rare_ = 0;        // index in needle_ of the byte searched for
    char rareA_ = 0, rareB_ = 0;  // its two cases (equal when it has one)
    bool pairs_ = false;          // candidates are checked for the next byte too:
    char pairA_ = 0, pairB_ = 0;  // needle_[rare_ + 1] in its two cases
    std::size_t nextA_ = 0, nextB_ = 0;  // next rare byte of each case, or end
    bool cacheValid_ = false;
};

}  // namespace glossira
