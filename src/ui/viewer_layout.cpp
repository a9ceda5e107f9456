// The viewer window's table: bounds at 96 DPI within the client area.
#include "core/messages.h"
#include "ui/viewer_form.h"
#include "ui/viewer_layout.h"

namespace glossira {

using namespace viewer_ids;

FormSpec ViewerWindowSpec()
{
    return {L"TForm3", msg::ViewerCaption(), 33, 13, 497, 431,
            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN};
}

std::vector<ControlSpec> ViewerControls(ViewerForm& f)
{
    return {
        {.member = &f.Memo1, .id = kMemo1, .cls = L"EDIT", .bounds = {0, 0, 489, 385},
         .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
         .exStyle = WS_EX_CLIENTEDGE},
    };
}

}  // namespace glossira
