#include "shell/file_security.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "core/paths.h"
#include "shell/shell_services.h"

namespace glossira {
namespace {

// Users, Authenticated Users, Everyone, INTERACTIVE.
constexpr std::string_view kOrdinaryUsers[] = {"S-1-5-32-545", "S-1-5-11", "S-1-1-0", "S-1-5-4"};

constexpr std::uint32_t kWriteData = 0x2;     // FILE_WRITE_DATA, in a folder FILE_ADD_FILE
constexpr std::uint32_t kAppendData = 0x4;    // FILE_APPEND_DATA, in a folder FILE_ADD_SUBDIRECTORY
constexpr std::uint32_t kDeleteChild = 0x40;  // FILE_DELETE_CHILD
constexpr std::uint32_t kDelete = 0x10000;
constexpr std::uint32_t kReadControl = 0x20000;
constexpr std::uint32_t kWriteDac = 0x40000;
constexpr std::uint32_t kWriteOwner = 0x80000;
constexpr std::uint32_t kChanging = kWriteData | kAppendData | kDeleteChild | kDelete | kWriteDac | kWriteOwner;

// GENERIC_* as the file system maps them.
std::uint32_t FileRights(std::uint32_t mask)
{
    constexpr std::uint32_t kGenericRead = 0x80000000, kGenericWrite = 0x40000000, kGenericExecute = 0x20000000,
                            kGenericAll = 0x10000000;
    std::uint32_t rights = mask & 0x0FFFFFFF;
    if (mask & kGenericRead) rights |= 0x120089;     // FILE_GENERIC_READ
    if (mask & kGenericWrite) rights |= 0x120116;    // FILE_GENERIC_WRITE
    if (mask & kGenericExecute) rights |= 0x1200A0;  // FILE_GENERIC_EXECUTE
    if (mask & kGenericAll) rights |= 0x1F01FF;      // FILE_ALL_ACCESS
    return rights;
}

bool IsOrdinary(std::string_view sid)
{
    return std::find(std::begin(kOrdinaryUsers), std::end(kOrdinaryUsers), sid) != std::end(kOrdinaryUsers);
}

bool MayChange(ShellServices& shell, const std::string& path)
{
    auto list = shell.ReadAccessList(path);
    return !list || (OrdinaryUserRights(*list) & kChanging) != 0;
}

}  // namespace

std::uint32_t OrdinaryUserRights(const AccessList& list)
{
    if (list.unrestricted) return 0x1F01FF;
    std::uint32_t granted = IsOrdinary(list.owner) ? kReadControl | kWriteDac : 0;
    std::uint32_t denied = 0;
    for (const auto& entry : list.entries) {
        if (entry.inheritOnly || !IsOrdinary(entry.sid)) continue;
        const std::uint32_t rights = FileRights(entry.mask);
        if (entry.allow) granted |= rights & ~denied;
        else denied |= rights & ~granted;
    }
    return granted;
}

bool OrdinaryUsersMayChange(ShellServices& shell, const std::string& file)
{
    // A missing file is the folder's to make.
    const std::string folder = FolderWithSeparator(file);
    return (shell.FileExists(file) && MayChange(shell, file)) || folder.empty() || MayChange(shell, folder);
}

}  // namespace glossira
