// The message of the Error an action raises, for tests of failures.
#pragma once

#include <string>

#include "core/error.h"

namespace glossira {

// "<no error>" when the action raises none.
template <class F>
std::string ErrorOf(F&& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

}  // namespace glossira
