#include "core/dynamic_calls_win.h"

namespace glossira::dyn {
namespace {

// kernel32 and user32 are always loaded; any other library only from the
// system folder, never from beside the program or the current folder.
void* Lookup(const wchar_t* library, const char* name)
{
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) module = LoadLibraryW(library);  // systems without LOAD_LIBRARY_SEARCH_SYSTEM32
    return module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

#define GLOSSIRA_DEFINE_DYNAMIC_CALL(library, name, result, parameters)                   \
    name##Fn name()                                                                      \
    {                                                                                    \
        static const auto function = reinterpret_cast<name##Fn>(Lookup(library, #name)); \
        return function;                                                                 \
    }
GLOSSIRA_DYNAMIC_CALLS(GLOSSIRA_DEFINE_DYNAMIC_CALL)
#undef GLOSSIRA_DEFINE_DYNAMIC_CALL

}  // namespace glossira::dyn
