#include "shellext/module.h"

#include <atomic>

namespace glossira::shellext {
namespace {
std::atomic<long> objects{0};
std::atomic<long> locks{0};
}  // namespace

HMODULE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockServer(bool lock) { lock ? ++locks : --locks; }
bool CanUnload() { return objects == 0 && locks == 0; }

}  // namespace glossira::shellext
