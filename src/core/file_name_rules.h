// What Windows allows as the name of a file, for the rename window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glossira {

// The message that refuses a new file name, or nothing when Windows allows
// it: empty, a character Windows forbids, a device's name (CON, NUL, COM1,
// with any extension), or a blank or full stop at the end.
std::optional<std::string> NameRefusal(std::string_view name);

}  // namespace glossira
