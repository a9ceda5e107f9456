// Reading and changing the texts of edit and list box controls in
// Windows-1251, each change in one step.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace glossira {

std::string EditText(HWND edit);  // fails when a typed character has no Windows-1251 form
void SetEditText(HWND edit, const std::string& text);
// Inserts text at the very start (one replacement, caret kept at the top).
void InsertAtStart(HWND edit, const std::string& text);
void AppendAtEnd(HWND edit, const std::string& text);
// Puts the caret after the last character, in view.
void CaretAtEnd(HWND edit);
// The first displayed row (word wrap counts), or nothing when empty.
std::optional<std::string> FirstRow(HWND edit);

std::vector<std::string> ListItems(HWND list);
// Replaces every item, with redrawing suspended.
void SetListItems(HWND list, const std::vector<std::string>& items);

}  // namespace glossira
