// The CF_HDROP block reader on any bytes: it must never read beyond them,
// and every name it returns is non-empty and holds no zero.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/drop_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto list = glossira::ParseDropFiles({reinterpret_cast<const char*>(data), size});
    if (!list) return 0;
    std::size_t total = 0;
    for (const auto& p : list->paths) {
        if (p.empty() || p.find(u'\0') != std::u16string::npos) std::abort();
        total += 2 * p.size();
    }
    for (const auto& p : list->narrow) {
        if (p.empty() || p.find('\0') != std::string::npos) std::abort();
        total += p.size();
    }
    if (total > size) std::abort();
    return 0;
}
