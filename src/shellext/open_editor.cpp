#include "shellext/open_editor.h"

#include "shell/process_win.h"
#include "shellext/program_location.h"

namespace glossira::shellext {

HRESULT StartProgramOn(const std::vector<std::wstring>& paths, const std::vector<std::u16string>& switches, int show)
{
    if (paths.empty()) return E_UNEXPECTED;
    const std::wstring program = ProgramLocation();
    if (program.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::vector<std::u16string> arguments;
    arguments.reserve(paths.size());
    for (const auto& path : paths) arguments.emplace_back(path.begin(), path.end());
    // A caller that leaves the show state zero still wants to see the program.
    if (StartProgram(program, switches, arguments, show == SW_HIDE ? SW_SHOWNORMAL : show)) return S_OK;
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace glossira::shellext
