#include "sources/log_encoding.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/unicode_1251.h"

namespace glossira {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

class Log final : public InputFile {
public:
    explicit Log(std::unique_ptr<InputFile> raw) : raw_(std::move(raw)) {}

    std::size_t Read(char* buffer, std::size_t size) override
    {
        if (!started_) Start();
        if (kind_ == Kind::Plain) {
            std::size_t n = std::min(size, head_.size() - headPos_);
            std::memcpy(buffer, head_.data() + headPos_, n);
            headPos_ += n;
            return n == size ? n : n + raw_->Read(buffer + n, size - n);
        }
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
                if (kind_ == Kind::Utf8) utf8_.Finish(ready_);
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
    enum class Kind { Plain, Utf8, Utf16Le };

    // Reads as much as a mark needs and decides.
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
            kind_ = Kind::Utf8;
            Feed(head.substr(kUtf8Mark.size()));
        } else if (head.starts_with(kUtf16LeMark)) {
            kind_ = Kind::Utf16Le;
            Feed(head.substr(kUtf16LeMark.size()));
        }
    }

    void Feed(std::string_view bytes)
    {
        if (kind_ == Kind::Utf8) utf8_.Feed(bytes, ready_);
        else utf16_.Feed(bytes, ready_);
    }

    std::unique_ptr<InputFile> raw_;
    bool started_ = false;
    Kind kind_ = Kind::Plain;
    std::string head_;  // the first bytes, read to look for a mark
    std::size_t headPos_ = 0;
    Utf8To1251 utf8_{true};
    Utf16LeTo1251 utf16_{true};
    std::vector<char> rawBuffer_;
    unsigned long long rawRead_ = 0;
    std::string ready_;  // decoded, not yet returned
    std::size_t readyPos_ = 0;
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<InputFile> DecodedLog(std::unique_ptr<InputFile> raw)
{
    if (!raw) return nullptr;
    return std::make_unique<Log>(std::move(raw));
}

}  // namespace glossira
