// The list file reader on any bytes: a list it accepts holds full paths
// without line ends or zeros, and writing it back gives a list that reads
// the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto paths = glossira::DecodeListFile({reinterpret_cast<const char*>(data), size});
    if (!paths) return 0;
    if (paths->empty()) std::abort();
    for (const auto& p : *paths)
        if (p.size() < 3 || p.find_first_of(std::u16string(u"\r\n\0", 3)) != std::u16string::npos) std::abort();
    if (glossira::DecodeListFile(glossira::EncodeListFile(*paths)) != paths) std::abort();
    return 0;
}
