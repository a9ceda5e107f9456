// A log as the harvest reads it: one that begins with a UTF-8 or a UTF-16 LE
// byte-order mark is turned into Windows-1251 as it streams (a character
// Windows-1251 cannot hold becomes '?', the multi-line mark of a description
// list stays 0x04 0xC2). A file without a mark whose first bytes read as
// Russian in code page 866 (LooksLikeCp866) is turned into Windows-1251 byte
// by byte; any other file passes through byte for byte, read straight into
// the caller's buffer.
#pragma once

#include <memory>

#include "core/file_system.h"

namespace glossira {

enum class LogEncoding { Cp1251, Utf8, Utf16Le, Cp866 };

class LogFile : public InputFile {
public:
    // What the file was found to be written in, from its first bytes.
    virtual LogEncoding Encoding() = 0;
};

// nullptr for nullptr.
std::unique_ptr<LogFile> DecodedLog(std::unique_ptr<InputFile> raw);

// Whether a no-break space breaks a description's lines in a file of this
// encoding: in UTF-8 and UTF-16, as the programs that write such lists mean
// it; in a single-byte code page it is a no-break space.
inline bool NoBreakSpaceBreaks(LogEncoding encoding)
{
    return encoding == LogEncoding::Utf8 || encoding == LogEncoding::Utf16Le;
}

}  // namespace glossira
