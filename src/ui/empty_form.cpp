#include "ui/empty_form.h"

#include "core/cp1251.h"

namespace glossira {

void EmptyForm::FormCreate()
{
    Create({L"TForm4", FromUtf8("Цвет просмотрщика"), 192, 107, 544, 375, WS_OVERLAPPEDWINDOW});
}

}  // namespace glossira
