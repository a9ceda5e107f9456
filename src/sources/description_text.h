// The text of a harvested line. Description lists keep data of other
// programs after a Ctrl-D (0x04) up to the line end, one area per program,
// each opened by 0x04 and its program's byte; an area of the byte 0xC2
// alone marks a description of several lines, stored on one line with each
// line break written as the two characters "\n". In a list written in
// UTF-8 or UTF-16 (with its mark), a description of several lines may
// instead be one line whose line breaks are no-break spaces (U+00A0, 0xA0
// once in Windows-1251), with no mark at the end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace glossira {

// The line without its areas; a description of several lines comes as its
// lines, split at 0xA0 too with `noBreakSpaceBreaks`. A line without 0x04
// (or 0xA0) is the one line, untouched.
std::vector<std::string> DescriptionLines(std::string_view line, bool noBreakSpaceBreaks = false);

// A hit as the harvest inserts it: DescriptionLines joined with LF (which no
// read line holds). False, and the line left alone, when the upper-cased
// name stood only in the areas removed. A name holding 0xA0 keeps it.
bool AsInserted(std::string& line, std::string_view upperName, bool noBreakSpaceBreaks = false);

}  // namespace glossira
