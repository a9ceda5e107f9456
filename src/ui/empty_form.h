// TForm4: an empty window that nothing shows.
#pragma once

#include "ui/form.h"

namespace glossira {

class EmptyForm final : public Form {
public:
    void FormCreate();
};

}  // namespace glossira
