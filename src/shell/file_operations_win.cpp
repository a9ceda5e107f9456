#include "shell/file_operations_win.h"

#include <shellapi.h>

#include "core/error.h"
#include "core/files_win.h"
#include "core/unique_win.h"
#include "core/wide_win.h"

namespace glossira {
namespace {

// Paths one after another, each ended by a zero, the list by another.
std::wstring PathList(const std::vector<Transfer>& items, bool targets)
{
    std::wstring list;
    for (const auto& item : items) {
        list += Wide(targets ? item.to : item.from);
        list += L'\0';
    }
    list += L'\0';
    return list;
}

UINT SystemOperation(Operation op)
{
    switch (op) {
    case Operation::Copy: return FO_COPY;
    case Operation::Move: return FO_MOVE;
    case Operation::Rename: return FO_RENAME;
    case Operation::Delete: return FO_DELETE;
    }
    return FO_COPY;
}

}  // namespace

bool Win32FileOperations::IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileOperations::Exists(const std::string& path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Win32FileOperations::FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    UniqueFind find(FindFirstFileExW((Wide(folder) + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0));
    if (!find) return names;
    do {
        // A name Windows-1251 cannot hold is no file's comment and shares none.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(NarrowLossy(found.cFileName));
    } while (FindNextFileW(find.get(), &found));
    return names;
}

std::optional<std::string> Win32FileOperations::Read(const std::string& path)
{
    try {
        return Win32FileSystem().ReadWhole(path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

void Win32FileOperations::Write(const std::string& path, const std::string& bytes)
{
    Win32FileSystem().WriteAtomically(path, bytes);
}

RunOutcome Win32FileOperations::Run(Operation op, const std::vector<Transfer>& items, bool shown)
{
    if (items.empty()) return RunOutcome::Done;
    const std::wstring from = PathList(items, false);
    const std::wstring to = op == Operation::Delete ? std::wstring() : PathList(items, true);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner_;
    operation.wFunc = SystemOperation(op);
    operation.pFrom = from.c_str();
    operation.pTo = to.empty() ? nullptr : to.c_str();
    operation.fFlags = FOF_ALLOWUNDO;
    if (op == Operation::Copy || op == Operation::Move) operation.fFlags |= FOF_MULTIDESTFILES;
    // Without its window: no progress, no error boxes, and no question
    // before the Recycle Bin; a name that is taken meanwhile is still asked.
    if (!shown) {
        operation.fFlags |= FOF_SILENT | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
        if (op == Operation::Delete) operation.fFlags |= FOF_NOCONFIRMATION;
    }
    const int result = SHFileOperationW(&operation);
    // Windows reports a cancel as ERROR_CANCELLED, older versions as
    // DE_OPCANCELLED (0x75), or as success with the aborted flag.
    if (result == ERROR_CANCELLED || result == 0x75 || (result == 0 && operation.fAnyOperationsAborted))
        return RunOutcome::Cancelled;
    return result == 0 ? RunOutcome::Done : RunOutcome::Failed;
}

}  // namespace glossira
