#include "shell/menu_package.h"

#include <algorithm>
#include <charconv>

namespace glossira {

bool IsWindows11Build(std::string_view currentBuildNumber)
{
    unsigned long build = 0;
    const char* end = currentBuildNumber.data() + currentBuildNumber.size();
    const auto [at, error] = std::from_chars(currentBuildNumber.data(), end, build);
    return error == std::errc() && at == end && build >= 22000;
}

std::string MenuPackageCommand(const std::string& systemDir, const std::string& programDir, MenuPackageAction action)
{
    return "\"" + systemDir + "WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile -NonInteractive " +
           "-ExecutionPolicy Bypass -WindowStyle Hidden -File \"" + programDir + kMenuPackageScript + "\" " +
           (action == MenuPackageAction::Register ? "register" : "remove");
}

bool NamesMenuPackage(std::string_view output)
{
    constexpr std::string_view kLine = "registered: Glossira_";
    for (std::size_t at = 0; at < output.size();) {
        const std::size_t end = std::min(output.find('\n', at), output.size());
        if (output.substr(at, end - at).starts_with(kLine)) return true;
        at = end + 1;
    }
    return false;
}

}  // namespace glossira
