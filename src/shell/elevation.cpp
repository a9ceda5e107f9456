#include "shell/elevation.h"

namespace glossira {

bool HandOverToElevated(ProcessToken& token)
{
    return token.Elevation() == TokenElevation::Limited && token.RestartElevated();
}

}  // namespace glossira
