// The handlers' commands: each an offset in the menu, a canonical verb, a
// text and a help text, and what it starts: the editor, or the program on
// an operation of comments that follow their files.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <span>
#include <string>
#include <vector>

namespace glossira::shellext {

struct Verb {
    const char* name;                  // canonical verb, e.g. "glossira.copyto"
    const std::string& (*text)();      // Windows-1251
    const std::string& (*help)();
    const char16_t* operation;         // the program's switch without "/"; null: the editor
};

// The offset of the command an invocation names, by offset or by verb
// (ANSI, or Unicode in CMINVOKECOMMANDINFOEX); -1 when it is none of these.
int InvokedOffset(const CMINVOKECOMMANDINFO* info, std::span<const Verb> verbs);

// GetCommandString for one command: its verb or help text, ANSI or Unicode.
HRESULT VerbString(const Verb& verb, UINT type, CHAR* buffer, UINT size);

// Inserts a text item (with a picture, when given) at `position`; `submenu`
// makes it a submenu, whose menu then belongs to `menu`.
bool InsertItem(HMENU menu, UINT position, UINT id, const std::string& text, HBITMAP picture = nullptr,
                HMENU submenu = nullptr);

// Starts glossira.exe on the paths: the editor for a verb without an
// operation, else the operation with `destination` where it has one.
// Returns at once; an HRESULT for InvokeCommand.
HRESULT StartVerb(const Verb& verb, const std::vector<std::wstring>& paths, const std::wstring& destination,
                  int show);

}  // namespace glossira::shellext
