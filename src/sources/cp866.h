// Code page 866, the DOS code page of a Russian Windows, in which Far
// Manager, 4DOS/4NT and DOS Navigator write descript.ion: telling such a
// text from Windows-1251, and turning it into Windows-1251.
#pragma once

#include <cstddef>
#include <string_view>

namespace glossira {

// True when the bytes read as Russian text in code page 866 and not in
// Windows-1251. The text is cut into words, runs of two or more bytes
// above 0x7F (the Cyrillic letters of both code pages lie there; ASCII
// separates them). A word votes for Windows-1251 when it holds a byte that
// is no Russian letter in 866 (0xB0-0xDF, box drawing; 0xF2-0xFF): in
// Windows-1251 these are the capitals and т-я, in most Russian words. A
// word without such a byte votes for 866 when it holds a frequent 866
// letter whose byte Windows-1251 gives to no Russian letter and to no mark
// that stands inside Russian text: б-з, к, м, п and most capitals. Words
// of both kinds of letters only (где, тут) and lone bytes (—, ©, а word
// of one letter) do not vote. The text is 866 when its words vote for 866
// more than twice as often as for Windows-1251: a Russian Windows-1251
// text never gives a vote for 866.
bool LooksLikeCp866(std::string_view sample);

// Turns code page 866 into Windows-1251 in place; box drawing and the
// other characters Windows-1251 cannot hold become '?'. The byte after a
// Ctrl-D (0x04), which names the program owning a description list's area,
// is kept as it is; `last` carries the byte before `bytes` from one piece
// of a text to the next.
void Cp866To1251(char* bytes, std::size_t size, char& last);

}  // namespace glossira
