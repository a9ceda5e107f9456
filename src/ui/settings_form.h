// TForm2: the settings window, shown when the program starts without a file.
// Every way out of it ends the process, except a refused privilege probe, an
// error and a No to the removal question.
#pragma once

#include <span>
#include <string>

#include "core/settings.h"
#include "shell/settings_action.h"
#include "ui/form.h"
#include "ui/pictures.h"

namespace glossira {

class SettingsForm final : public Form {
public:
    void FormCreate();
    // The controls that carry Settings.
    void Fill(const Settings& settings);

private:
    void CreateControlsOnce();
    bool OnCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDpiChanged() override;

    // A box or field and the choice it edits; `saved`: it shows a saved setting.
    struct Binding {
        HWND SettingsForm::*control;
        ChoiceBox box = nullptr;
        std::string SettingsChoices::*text = nullptr;
        bool saved = true;
    };
    static std::span<const Binding> Bindings();

    // Checking `box` unchecks the boxes it excludes; unchecking does nothing.
    void InterlockClick(ChoiceBox box);
    void Button1Click();
    void Button2Click();
    void SpeedButton1Click();
    void FilenameEdit1ButtonClick();
    void FormCloseQuery();

    SettingsChoices Choices() const;
    void ShowChoices(const SettingsChoices& choices, bool savedOnly);
    HWND Box(ChoiceBox box) const;
    void FitLabels();
    void KeepColoursWhenThemed();
    void LoadGlyph();

    HWND GroupBox1 = nullptr;
    HWND CheckBox4 = nullptr;
    HWND CheckBox7 = nullptr;
    HWND CheckBox8 = nullptr;
    HWND CheckBox9 = nullptr;
    HWND CheckBox5 = nullptr;
    HWND GroupBox2 = nullptr;
    HWND Label3 = nullptr;
    HWND CheckBox1 = nullptr;
    HWND Edit1 = nullptr;
    HWND Label4 = nullptr;
    HWND CheckBox2 = nullptr;
    HWND FilenameEdit1 = nullptr;
    HWND FilenameEdit1Button = nullptr;
    HWND CheckBox3 = nullptr;
    HWND CheckBox10 = nullptr;
    HWND Button1 = nullptr;
    HWND Button2 = nullptr;
    HWND GroupBox3 = nullptr;
    HWND Label5 = nullptr;
    HWND Edit2 = nullptr;
    HWND Label6 = nullptr;
    HWND CheckBox6 = nullptr;
    HWND SpeedButton1 = nullptr;
    UniqueIcon helpGlyph_;

    friend std::vector<ControlSpec> SettingsControls(SettingsForm& form);
};

FormSpec SettingsWindowSpec();
// The controls in tab order (creation order is tab order).
std::vector<ControlSpec> SettingsControls(SettingsForm& form);

}  // namespace glossira
