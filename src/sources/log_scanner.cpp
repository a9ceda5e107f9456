#include "sources/log_scanner.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/error.h"
#include "core/messages.h"
#include "core/text.h"

namespace glossira {
namespace {

constexpr std::size_t kNone = ByteSearch::kNone;
constexpr char kCtrlZ = 26;
constexpr std::size_t kSampleSize = std::size_t{1} << 18;  // bytes counted to choose the byte searched for

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

}  // namespace

LogScanner::LogScanner(std::string_view name, std::size_t blockSize)
    : search_(UpperCase1251(name)), block_(std::max<std::size_t>(blockSize, 1))
{
    const std::string& needle = search_.Name();
    canMatch_ = !needle.empty() && needle.find_first_of("\r\n\x1a") == std::string::npos;
    if (canMatch_) buffer_.resize(block_ + std::max(block_, needle.size()));
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
    search_.Choose(buffer_.data(), std::min<std::size_t>(end_, kSampleSize));
    std::size_t pos = 0;
    for (;;) {
        std::size_t p = search_.Next(buffer_.data(), pos, end_);
        if (p == kNone) {
            if (eof_) return;
            pos = Refill(file, kNone);
            continue;
        }
        // Running off buffer index 0 means the line (or the kept context)
        // starts there.
        ByteSearch::Verdict verdict = search_.Verify(buffer_.data(), p, end_, eof_);
        if (verdict == ByteSearch::Verdict::kNo) {
            pos = p + 1;
        } else if (verdict == ByteSearch::Verdict::kMore) {
            pos = Refill(file, p);
        } else {
            bool more = TakeLine(file, reopen, p, hits, pos);
            if (accept && !accept(hits.back())) hits.pop_back();
            else if (!allHits) return;
            if (!more) return;
        }
    }
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
        for (std::size_t need = search_.Before(); need > 0 && from > ls;)
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
    search_.Forget();
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
    if (!again) throw Error(msg::LogNotReopened());
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
