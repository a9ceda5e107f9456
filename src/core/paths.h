// Path helpers over Windows-1251 paths: '\' and ':' end a folder part.
#pragma once

#include <string>
#include <string_view>

namespace glossira {

std::string StripTrailingBackslashes(std::string_view s);
std::string WithTrailingBackslash(std::string_view s);  // empty stays empty

// "D:\dl\setup.zip" -> "D:\dl"; "D:\setup.zip" -> "D:\"; "D:x" -> "D:";
// "\\srv\share\a" -> "\\srv\share"; "x" -> "".
std::string FolderPart(std::string_view path);
// Everything after the last '\' or ':'; empty when the path ends in one.
std::string FileNamePart(std::string_view path);
// The file name without its last extension: "a.tar.gz" -> "a.tar".
std::string NameWithoutExt(std::string_view path);
// The path up to and including its last '\' or ':' (shell operations).
std::string FolderWithSeparator(std::string_view path);

// The program's folder with one trailing backslash, from its full path.
std::string ProgramDirOf(std::string_view exePath);

// A path from a drive's root (C:\...) or a UNC path (\\server\...).
bool IsFullPath(std::string_view path);

}  // namespace glossira
