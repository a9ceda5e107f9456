#include "ui/app.h"

namespace glossira {

App& TheApp()
{
    static App app;
    return app;
}

}  // namespace glossira
