// UTF-8 and UTF-16 LE into Windows-1251, a piece at a time: a sequence split
// between two pieces is decoded whole. A character Windows-1251 cannot hold,
// and every malformed sequence, becomes one '?'.
//
// With `descriptionMarks`, the byte a description list puts after a Ctrl-D
// (0x04) to mark a description of several lines survives as the byte 0xC2,
// whether it was written raw (a lone 0xC2, malformed in UTF-8) or as U+00C2.
#pragma once

#include <string>
#include <string_view>

namespace glossira {

class Utf8To1251 {
public:
    explicit Utf8To1251(bool descriptionMarks = false) : marks_(descriptionMarks) {}
    // Appends the characters `in` completes to `out`.
    void Feed(std::string_view in, std::string& out);
    // The end of the text: a sequence left unfinished becomes '?'.
    void Finish(std::string& out);
    // True once a '?' stood in for something.
    bool Lossy() const { return lossy_; }
    // True once a malformed sequence was met (a subset of Lossy).
    bool Malformed() const { return malformed_; }
    // True once a sequence of two or more bytes was decoded.
    bool SawMultiByte() const { return multiByte_; }

private:
    void Replace(std::string& out);
    void Malform(std::string& out);
    void Put(std::string& out, char byte);

    bool marks_;
    char last_ = 0;          // the last byte put out
    bool markLead_ = false;  // the sequence running is a 0xC2 after a Ctrl-D
    char32_t cp_ = 0;
    int need_ = 0;                         // continuation bytes still to come
    unsigned char low_ = 0x80, high_ = 0xBF;  // the range of the next one
    bool lossy_ = false;
    bool malformed_ = false;
    bool multiByte_ = false;
};

class Utf16LeTo1251 {
public:
    explicit Utf16LeTo1251(bool descriptionMarks = false) : marks_(descriptionMarks) {}
    void Feed(std::string_view in, std::string& out);
    void Finish(std::string& out);
    bool Lossy() const { return lossy_; }

private:
    void Unit(char16_t unit, std::string& out);

    bool marks_;
    char last_ = 0;
    int odd_ = -1;  // the first byte of a unit split between pieces
    bool highSurrogate_ = false;
    bool lossy_ = false;
};

}  // namespace glossira
