#include "core/program_dir.h"

namespace glossira {
namespace {
std::string& Storage()
{
    static std::string dir;
    return dir;
}
}  // namespace

const std::string& ProgramDir() { return Storage(); }
void SetProgramDir(std::string dir) { Storage() = std::move(dir); }

}  // namespace glossira
