// Who may change a file: its owner and access list, and the rule that code
// every user runs (a handler in every Explorer, a command at the next logon)
// must lie where ordinary users cannot change it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace glossira {

struct AccessEntry {
    bool allow = true;  // else a denying entry
    std::string sid;    // as text: "S-1-1-0"
    std::uint32_t mask = 0;
    bool inheritOnly = false;  // applies to objects created below, not to this one
};

struct AccessList {
    std::string owner;          // SID as text
    bool unrestricted = false;  // no access list at all: everyone may do anything
    std::vector<AccessEntry> entries;  // in their order
};

// The rights a member of Users, Authenticated Users, Everyone and
// INTERACTIVE holds by `list`, entries taken in order as Windows takes them
// (a right denied before it is allowed stays denied), generic rights mapped
// as for files, an ordinary owner's implied right to change the list
// included.
std::uint32_t OrdinaryUserRights(const AccessList& list);

class ShellServices;

// Whether ordinary users may write, append to, delete or change the rights
// of `file` or of its folder (add or delete files in it). A file or folder
// whose access list cannot be read counts as open to them; a missing file
// counts as its folder.
bool OrdinaryUsersMayChange(ShellServices& shell, const std::string& file);

}  // namespace glossira
