#include "core/file_system.h"

#include "core/error.h"
#include "core/messages.h"

namespace glossira {

std::string FileSystem::ReadWhole(const std::string& path)
{
    auto file = OpenRead(path);
    if (!file) throw Error(Format(msg::CannotOpenFile(), path, msg::FileInUse()));
    return ReadAll(*file);
}

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
