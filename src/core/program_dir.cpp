#include "core/program_dir.h"

#include <utility>

namespace glossira {
namespace {

std::string& Stored()
{
    static std::string dir;
    return dir;
}

}  // namespace

const std::string& ProgramDir() { return Stored(); }

void SetProgramDir(std::string dir) { Stored() = std::move(dir); }

}  // namespace glossira
