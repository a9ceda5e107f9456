#include "core/unicode_1251.h"

#include <cstdint>
#include <cstring>

#include "core/cp1251.h"

namespace glossira {

constexpr char kCtrlD = '\x04';
constexpr char32_t kSeveralLinesMark = 0xC2;

void Utf8To1251::Put(std::string& out, char byte)
{
    out += byte;
    last_ = byte;
}

void Utf8To1251::Replace(std::string& out)
{
    Put(out, '?');
    lossy_ = true;
}

void Utf8To1251::Malform(std::string& out)
{
    malformed_ = true;
    Replace(out);
}

void Utf8To1251::Feed(std::string_view in, std::string& out)
{
    out.reserve(out.size() + in.size());
    for (std::size_t i = 0; i < in.size();) {
        auto b = static_cast<unsigned char>(in[i]);
        if (need_ == 0) {
            if (b < 0x80) {
                std::size_t run = i;
                for (std::uint64_t word; run + 8 <= in.size(); run += 8) {  // ASCII eight bytes at a time
                    std::memcpy(&word, in.data() + run, 8);
                    if (word & 0x8080808080808080ull) break;
                }
                while (run < in.size() && static_cast<unsigned char>(in[run]) < 0x80) ++run;
                out.append(in.data() + i, run - i);
                last_ = in[run - 1];
                i = run;
                continue;
            }
            markLead_ = marks_ && last_ == kCtrlD && b == kSeveralLinesMark;
            low_ = 0x80;
            high_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                need_ = 1;
                cp_ = b & 0x1F;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need_ = 2;
                cp_ = b & 0x0F;
                if (b == 0xE0) low_ = 0xA0;   // no overlong forms
                if (b == 0xED) high_ = 0x9F;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                need_ = 3;
                cp_ = b & 0x07;
                if (b == 0xF0) low_ = 0x90;
                if (b == 0xF4) high_ = 0x8F;  // nothing beyond U+10FFFF
            } else {
                Malform(out);
            }
            ++i;
            continue;
        }
        if (b < low_ || b > high_) {
            // The sequence ends early; this byte starts afresh.
            need_ = 0;
            if (markLead_) Put(out, static_cast<char>(kSeveralLinesMark));
            else Malform(out);
            continue;
        }
        cp_ = (cp_ << 6) | (b & 0x3F);
        low_ = 0x80;
        high_ = 0xBF;
        ++i;
        if (--need_ == 0) {
            multiByte_ = true;
            int byte = marks_ && last_ == kCtrlD && cp_ == kSeveralLinesMark ? 0xC2 : ByteFor1251(cp_);
            if (byte < 0) Replace(out);
            else Put(out, static_cast<char>(byte));
        }
    }
}

void Utf8To1251::Finish(std::string& out)
{
    if (need_ > 0 && markLead_) Put(out, static_cast<char>(kSeveralLinesMark));
    else if (need_ > 0) Malform(out);
    need_ = 0;
}

void Utf16LeTo1251::Unit(char16_t unit, std::string& out)
{
    bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highSurrogate_) {
        highSurrogate_ = false;
        out += '?';  // one for the pair, or for a high surrogate alone
        last_ = '?';
        lossy_ = true;
        if (low) return;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = true;
        return;
    }
    int byte = low ? -1 : marks_ && last_ == kCtrlD && unit == kSeveralLinesMark ? 0xC2 : ByteFor1251(unit);
    if (byte < 0) {
        byte = '?';
        lossy_ = true;
    }
    out += static_cast<char>(byte);
    last_ = static_cast<char>(byte);
}

void Utf16LeTo1251::Feed(std::string_view in, std::string& out)
{
    out.reserve(out.size() + in.size() / 2 + 1);
    std::size_t i = 0;
    if (odd_ >= 0 && !in.empty()) {
        Unit(static_cast<char16_t>(odd_ | static_cast<unsigned char>(in[0]) << 8), out);
        odd_ = -1;
        i = 1;
    }
    for (; i + 1 < in.size(); i += 2)
        Unit(static_cast<char16_t>(static_cast<unsigned char>(in[i]) | static_cast<unsigned char>(in[i + 1]) << 8),
             out);
    if (i < in.size()) odd_ = static_cast<unsigned char>(in[i]);
}

void Utf16LeTo1251::Finish(std::string& out)
{
    if (highSurrogate_ || odd_ >= 0) {
        out += '?';
        last_ = '?';
        lossy_ = true;
    }
    highSurrogate_ = false;
    odd_ = -1;
}

}  // namespace glossira
