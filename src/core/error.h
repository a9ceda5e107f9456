// One exception type for every failure the user is told about. The message is
// Windows-1251 text, shown by the top-level error box; where the system gave
// a reason, the error also keeps the system's code.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace glossira {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message, std::uint32_t systemCode = 0)
        : std::runtime_error(message), systemCode_(systemCode)
    {
    }
    // The Win32 error code or HRESULT behind the failure; 0 when there is none.
    std::uint32_t SystemCode() const { return systemCode_; }

private:
    std::uint32_t systemCode_;
};

// Replaces the first "%s" of a message pattern with an argument.
std::string Format(std::string_view pattern, std::string_view arg);
// The same with two arguments, in order.
std::string Format(std::string_view pattern, std::string_view arg1, std::string_view arg2);

// The text of the error box: a full stop is appended when the last character
// has a higher code than the full stop (texts ending in an apostrophe get none).
std::string ErrorBoxText(std::string_view message);

}  // namespace glossira
