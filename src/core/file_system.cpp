#include "core/file_system.h"

namespace glossira {

std::string ReadAll(InputFile& file)
{
    std::string out;
    std::size_t used = 0;
    for (;;) {
        if (out.size() - used < 65536) out.resize(used + (used < 65536 ? 65536 : used));
        std::size_t got = file.Read(out.data() + used, out.size() - used);
        if (got == 0) break;
        used += got;
    }
    out.resize(used);
    return out;
}

}  // namespace glossira
