// Command-line splitting and joining: never crashes, pieces hold no quotes,
// and the joined target has no quotes and no blanks at its ends.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/command_line.h"
#include "core/error.h"

using namespace glossira;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string raw;
    for (std::size_t i = 0; i + 1 < size; i += 2) raw += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    auto pieces = SplitCommandLine(raw);
    for (const auto& piece : pieces) {
        if (piece.find(u'"') != std::u16string::npos) std::abort();
        if (piece.find(u'\0') != std::u16string::npos) std::abort();
    }
    try {
        std::string target = JoinTarget(pieces);
        if (target.find('"') != std::string::npos) std::abort();
        if (!target.empty() && (target.front() == ' ' || target.back() == ' ')) std::abort();
    } catch (const Error&) {
        // a character outside Windows-1251: a clear error, nothing else
    }
    return 0;
}
