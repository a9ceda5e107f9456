#pragma once

#include <exception>

#include "core/error.h"

namespace glossira {

void ShowUnexpectedError();

template <class F>
bool Guarded(F&& action)
{
    try {
        action();
        return true;
    } catch (const Error& e) {
        ShowErrorBox(e.what());
    } catch (...) {
        ShowUnexpectedError();
    }
    return false;
}

}  // namespace glossira
