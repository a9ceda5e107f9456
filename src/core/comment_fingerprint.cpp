#include "core/comment_fingerprint.h"

#include <vector>

namespace glossira {
namespace {

// FNV-1a, 64 bits.
constexpr std::uint64_t kBasis = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

std::uint64_t Mix(std::uint64_t hash, std::string_view bytes)
{
    for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * kPrime;
    return hash;
}

}  // namespace

CommentFingerprint FingerprintOf(std::string_view bytes) { return {true, bytes.size(), Mix(kBasis, bytes)}; }

bool ChangedSinceLoaded(FileSystem& files, const std::string& path, const CommentFingerprint& loaded)
{
    if (!files.FileExists(path)) return false;
    auto file = files.OpenRead(path);
    if (!file) return false;
    CommentFingerprint now{true, 0, kBasis};
    std::vector<char> buffer(1 << 16);
    while (std::size_t got = file->Read(buffer.data(), buffer.size())) {
        now.size += got;
        now.hash = Mix(now.hash, std::string_view(buffer.data(), got));
    }
    return now != loaded;
}

}  // namespace glossira
