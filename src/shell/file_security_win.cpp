// The owner and access list of a file or folder, read with GetFileSecurityW.
#include <windows.h>
#include <sddl.h>

#include <vector>

#include "core/wide_win.h"
#include "shell/shell_win.h"

namespace glossira {
namespace {

std::string SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text)) return {};
    std::string out = NarrowLossy(text);
    LocalFree(text);
    return out;
}

}  // namespace

std::optional<AccessList> Win32Shell::ReadAccessList(const std::string& path)
{
    std::wstring wpath = Wide(path);
    // A folder is named without its separator, a drive's root with it.
    if (wpath.size() > 3 && wpath.back() == L'\\') wpath.pop_back();
    const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    GetFileSecurityW(wpath.c_str(), wanted, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!GetFileSecurityW(wpath.c_str(), wanted, buffer.data(), size, &size)) return std::nullopt;
    PSECURITY_DESCRIPTOR descriptor = buffer.data();

    AccessList list;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) list.owner = SidText(owner);
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) return std::nullopt;
    if (!present || !dacl) {
        list.unrestricted = true;
        return list;
    }
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) return std::nullopt;
        // Allowing and denying entries share their layout; a conditional
        // allowing entry counts as allowing.
        const bool allow = header->AceType == ACCESS_ALLOWED_ACE_TYPE ||
                           header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE;
        if (!allow && header->AceType != ACCESS_DENIED_ACE_TYPE) continue;
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        list.entries.push_back(AccessEntry{allow, SidText(&ace->SidStart), ace->Mask,
                                           (header->AceFlags & INHERIT_ONLY_ACE) != 0});
    }
    return list;
}

}  // namespace glossira
