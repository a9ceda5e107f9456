#include "core/drop_files.h"

#include <cstdint>

#include "core/little_endian.h"

namespace glossira {
namespace {

// DWORD pFiles; POINT pt; BOOL fNC; BOOL fWide.
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kWideOffset = 16;

}  // namespace

std::optional<DropFiles> ParseDropFiles(std::string_view block)
{
    if (block.size() < kHeaderSize) return std::nullopt;
    const std::uint32_t start = UnpackDword(block, 0);
    if (start < kHeaderSize || start > block.size()) return std::nullopt;
    DropFiles list;
    list.wide = UnpackDword(block, kWideOffset) != 0;
    std::size_t at = start;
    if (list.wide) {
        auto unit = [&block](std::size_t i) {
            return static_cast<char16_t>(static_cast<unsigned char>(block[i]) |
                                         static_cast<unsigned char>(block[i + 1]) << 8);
        };
        while (at + 1 < block.size()) {
            std::size_t end = at;
            while (end + 1 < block.size() && unit(end) != 0) end += 2;
            if (end == at) return list;
            std::u16string& name = list.paths.emplace_back((end - at) / 2, u'\0');
            for (std::size_t i = 0; i < name.size(); ++i) name[i] = unit(at + 2 * i);
            at = end + 2;
        }
    } else {
        while (at < block.size()) {
            const std::size_t zero = block.find('\0', at);
            const std::size_t end = zero == std::string_view::npos ? block.size() : zero;
            if (end == at) return list;
            list.narrow.emplace_back(block.substr(at, end - at));
            at = end + 1;
        }
    }
    return list;
}

}  // namespace glossira
