#include "core/error.h"

namespace glossira {

std::string Format(std::string_view pattern, std::string_view arg)
{
    std::string out(pattern);
    if (auto at = out.find("%s"); at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

std::string Format(std::string_view pattern, std::string_view arg1, std::string_view arg2)
{
    std::string out(pattern);
    auto at = out.find("%s");
    if (at == std::string::npos) return out;
    out.replace(at, 2, arg1);
    if (auto next = out.find("%s", at + arg1.size()); next != std::string::npos)
        out.replace(next, 2, arg2);
    return out;
}

std::string ErrorBoxText(std::string_view message)
{
    std::string out(message);
    if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.'))
        out += '.';
    return out;
}

}  // namespace glossira
