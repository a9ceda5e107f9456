#include "sources/zone_identifier.h"

#include "core/cp1251.h"
#include "core/error.h"
#include "core/text.h"
#include "sources/log_encoding.h"

namespace glossira {
namespace {

constexpr std::size_t kMostRead = 64 * 1024;  // a stream is a few lines

}  // namespace

std::string WithoutCredentials(std::string_view url)
{
    std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return std::string(url);
    std::size_t authority = scheme + 3;
    std::size_t end = url.find_first_of("/?#", authority);
    std::string_view host = url.substr(authority, end == std::string_view::npos ? end : end - authority);
    std::size_t at = host.rfind('@');
    if (at == std::string_view::npos) return std::string(url);
    return std::string(url.substr(0, authority)) + std::string(url.substr(authority + at + 1));
}

std::optional<std::string> ZoneLine(std::string_view stream, std::string_view name)
{
    std::string host, referrer;
    bool inSection = false;
    for (std::size_t start = 0; start < stream.size();) {
        std::size_t lf = stream.find('\n', start);
        std::string_view raw = stream.substr(start, lf == std::string_view::npos ? lf : lf - start);
        start = lf == std::string_view::npos ? stream.size() : lf + 1;
        if (raw.ends_with('\r')) raw.remove_suffix(1);
        std::string line = TrimSpaces(raw);
        if (line.starts_with('[')) {
            inSection = UpperCase1251(line) == "[ZONETRANSFER]";
            continue;
        }
        std::size_t equals = line.find('=');
        if (!inSection || equals == std::string::npos) continue;
        std::string key = UpperCase1251(TrimSpaces(line.substr(0, equals)));
        std::string value = TrimSpaces(line.substr(equals + 1));
        if (key == "HOSTURL" && host.empty()) host = value;
        if (key == "REFERRERURL" && referrer.empty()) referrer = value;
    }
    if (host.empty()) return std::nullopt;
    std::string out = std::string(name) + FromUtf8(" загружен с ") + WithoutCredentials(host);
    if (!referrer.empty()) out += FromUtf8(", страница ") + WithoutCredentials(referrer);
    return out;
}

std::optional<std::string> ReadZoneLine(FileSystem& fs, const std::string& targetPath, std::string_view name)
{
    try {
        std::unique_ptr<InputFile> stream = DecodedLog(fs.OpenRead(targetPath + ":Zone.Identifier"));
        if (!stream) return std::nullopt;
        std::string text(kMostRead, '\0');
        std::size_t used = 0;
        while (used < text.size()) {
            std::size_t got = stream->Read(text.data() + used, text.size() - used);
            if (got == 0) break;
            used += got;
        }
        text.resize(used);
        return ZoneLine(text, name);
    } catch (const Error&) {
        return std::nullopt;  // a stream that cannot be read is skipped
    }
}

}  // namespace glossira
