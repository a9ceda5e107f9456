// Finds the lines of a log that mention a name, case-blind, in one streaming
// pass over large blocks.
//
// The log is read as the harvest reads it: a Ctrl-Z (26) ends the file, a
// line ends at LF or CR LF, and every CR not followed by LF is dropped from the
// line (so the text on both sides of it joins, for matching too). A line
// qualifies when UpperCase1251(line) contains UpperCase1251(name).
//
// Memory stays at two blocks whatever the size of the log or its lines; the
// places of the name are found by ByteSearch, chosen from the log's first
// block. A qualifying line is returned whole, however long: when its start
// has already left the buffer, the file is opened a second time through
// `reopen` and the line is read from there (the first handle, open with read
// sharing only, keeps the content unchanged meanwhile).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "sources/byte_search.h"

namespace glossira {

class LogScanner {
public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    // Opens the same file again from its start; raises Error (or returns
    // nullptr) when it cannot.
    using Reopen = std::function<std::unique_ptr<InputFile>()>;

    // `blockSize` (at least 1) is the size of one read; tests make it small.
    explicit LogScanner(std::string_view name, std::size_t blockSize = kBlockSize);

    // False when no line can ever qualify: an empty name, or one holding CR,
    // LF or Ctrl-Z. Scan then reads nothing.
    bool CanMatch() const { return canMatch_; }

    // Appends the file's qualifying lines to `hits` in file order, without
    // their line ends and CRs: the first one only unless `allHits`. A line
    // holding the name twice counts once. A read error raises Error from
    // InputFile::Read; the lines found before it are already in `hits`. When
    // `reopen` is needed and fails, Error is raised too. `accept`, when
    // given, may rewrite each qualifying line and turns down the ones it
    // returns false for: they do not count as hits.
    using Accept = std::function<bool(std::string& line)>;
    void Scan(InputFile& file, const Reopen& reopen, bool allHits, std::vector<std::string>& hits,
              const Accept& accept = {});

private:
    std::size_t Refill(InputFile& file, std::size_t pending);
    void ReadFresh(InputFile& file);
    std::size_t ReadNew(InputFile& file, std::size_t at);
    bool TakeLine(InputFile& file, const Reopen& reopen, std::size_t p, std::vector<std::string>& hits,
                  std::size_t& pos);
    std::string ReadLineAt(const Reopen& reopen, unsigned long long offset) const;
    unsigned long long OffsetOf(std::size_t index) const { return offsetAt_ + (index - offsetIdx_); }

    ByteSearch search_;
    bool canMatch_ = false;
    std::size_t block_;
    std::vector<char> buffer_;

    // Per scan. buffer_[0, end_) holds data; bytes from offsetIdx_ on are
    // unaltered file bytes, the one at offsetIdx_ at file offset offsetAt_.
    std::size_t end_ = 0;
    bool eof_ = false;
    // True: buffer index 0 starts a line and the data before the first LF is
    // unaltered. False: the line running at index 0 began at lineStart_.
    bool lineKnown_ = true;
    unsigned long long lineStart_ = 0;
    unsigned long long offsetAt_ = 0;
    std::size_t offsetIdx_ = 0;
};

}  // namespace glossira
