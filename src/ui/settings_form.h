// TForm2: the settings window, shown when the program starts without a file.
#pragma once

#include "core/settings.h"
#include "ui/form.h"

namespace glossira {

class SettingsForm final : public Form {
public:
    void FormCreate();
    void Fill(const Settings& settings);

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
};

}  // namespace glossira
