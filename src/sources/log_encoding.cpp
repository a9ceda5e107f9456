#include "sources/log_encoding.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/unicode_1251.h"
#include "sources/cp866.h"

namespace glossira {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
// The bytes a file without a mark is judged by: its start, whatever the
// reads, so that a second opening of the file decides the same.
constexpr std::size_t kSampleSize = std::size_t{1} << 18;

class Log final : public LogFile {
public:
    explicit Log(std::unique_ptr<InputFile> raw) : raw_(std::move(raw)) {}

    LogEncoding Encoding() override
    {
        if (!started_) Start();
        return kind_;
    }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        if (!started_) Start();
        if (kind_ == LogEncoding::Cp1251 || kind_ == LogEncoding::Cp866) return ReadBytes(buffer, size);
        while (readyPos_ == ready_.size() && !ended_) {
            ready_.clear();
            readyPos_ = 0;
            rawBuffer_.resize(std::max<std::size_t>(size, 1));
            // Reads end on multiples of the block, as after no mark: the
            // system copies aligned blocks much faster.
            std::size_t want = rawBuffer_.size() - rawRead_ % rawBuffer_.size();
            std::size_t got = raw_->Read(rawBuffer_.data(), want);
            rawRead_ += got;
            if (got == 0) {
                ended_ = true;
                if (kind_ == LogEncoding::Utf8) utf8_.Finish(ready_);
                else utf16_.Finish(ready_);
            } else {
                Feed(std::string_view(rawBuffer_.data(), got));
            }
        }
        std::size_t n = std::min(size, ready_.size() - readyPos_);
        std::memcpy(buffer, ready_.data() + readyPos_, n);
        readyPos_ += n;
        return n;
    }

private:
    // The first bytes kept from deciding, then the rest of the file.
    std::size_t ReadBytes(char* buffer, std::size_t size)
    {
        std::size_t n = std::min(size, head_.size() - headPos_);
        std::memcpy(buffer, head_.data() + headPos_, n);
        headPos_ += n;
        if (headPos_ == head_.size() && !head_.empty()) {
            std::string().swap(head_);
            headPos_ = 0;
        }
        if (n < size && failed_) {
            // What came before a read error first, then the error.
            if (n == 0) std::rethrow_exception(std::exchange(failed_, nullptr));
        } else if (n < size) {
            n += raw_->Read(buffer + n, size - n);
        }
        if (kind_ == LogEncoding::Cp866) Cp866To1251(buffer, n, last_);
        return n;
    }

    // Reads as much as a mark needs and decides; without a mark, reads the
    // sample. Reads return whole blocks, so the file is read in aligned
    // blocks again once the sample is used up.
    void Start()
    {
        started_ = true;
        while (head_.size() < kUtf8Mark.size()) {
            char bytes[3];
            std::size_t got = raw_->Read(bytes, kUtf8Mark.size() - head_.size());
            if (got == 0) break;
            rawRead_ += got;
            head_.append(bytes, got);
        }
        std::string_view head(head_);
        if (head.starts_with(kUtf8Mark)) {
            kind_ = LogEncoding::Utf8;
            Feed(head.substr(kUtf8Mark.size()));
            return;
        }
        if (head.starts_with(kUtf16LeMark)) {
            kind_ = LogEncoding::Utf16Le;
            Feed(head.substr(kUtf16LeMark.size()));
            return;
        }
        for (std::size_t got = head_.size(); got > 0 && head_.size() < kSampleSize;) {
            std::size_t had = head_.size();
            head_.resize(kSampleSize);
            try {
                got = raw_->Read(head_.data() + had, kSampleSize - had);
            } catch (...) {
                got = 0;
                failed_ = std::current_exception();
            }
            head_.resize(had + got);
        }
        if (LooksLikeCp866(head_)) kind_ = LogEncoding::Cp866;
    }

    void Feed(std::string_view bytes)
    {
        if (kind_ == LogEncoding::Utf8) utf8_.Feed(bytes, ready_);
        else utf16_.Feed(bytes, ready_);
    }

    std::unique_ptr<InputFile> raw_;
    bool started_ = false;
    LogEncoding kind_ = LogEncoding::Cp1251;
    std::string head_;  // the first bytes, read to decide
    std::exception_ptr failed_;  // a read error met while reading them
    std::size_t headPos_ = 0;
    char last_ = 0;  // the last byte turned from 866
    Utf8To1251 utf8_{true};
    Utf16LeTo1251 utf16_{true};
    std::vector<char> rawBuffer_;
    unsigned long long rawRead_ = 0;
    std::string ready_;  // decoded, not yet returned
    std::size_t readyPos_ = 0;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<LogFile> DecodedLog(std::unique_ptr<InputFile> raw)
{
    if (!raw) return nullptr;
    return std::make_unique<Log>(std::move(raw));
}

}  // namespace glossira
