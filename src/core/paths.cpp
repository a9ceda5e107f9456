#include "core/paths.h"

namespace glossira {
namespace {

// Index of the last '\' or ':', or npos.
std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\:"); }

}  // namespace

std::string StripTrailingBackslashes(std::string_view s)
{
    auto at = s.find_last_not_of('\\');
    return at == std::string_view::npos ? std::string() : std::string(s.substr(0, at + 1));
}

std::string WithTrailingBackslash(std::string_view s)
{
    if (s.empty()) return {};
    return StripTrailingBackslashes(s) + '\\';
}

std::string FolderPart(std::string_view path)
{
    auto at = LastSeparator(path);
    if (at == std::string_view::npos) return {};
    // Keep the separator for "D:\" and "\x"; drop it for "D:\dl\x".
    if (at > 0 && path[at] == '\\' && path[at - 1] != '\\' && path[at - 1] != ':')
        return std::string(path.substr(0, at));
    return std::string(path.substr(0, at + 1));
}

std::string FileNamePart(std::string_view path)
{
    auto at = LastSeparator(path);
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string NameWithoutExt(std::string_view path)
{
    std::string name = FileNamePart(path);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
    return name;
}

std::string FolderWithSeparator(std::string_view path)
{
    auto at = LastSeparator(path);
    return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string ProgramDirOf(std::string_view exePath) { return WithTrailingBackslash(FolderPart(exePath)); }

bool IsFullPath(std::string_view path)
{
    const bool drive = path.size() > 2 && path[1] == ':' && path[2] == '\\' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

}  // namespace glossira
