// A log as the harvest reads it: one that begins with a UTF-8 or a UTF-16 LE
// byte-order mark is turned into Windows-1251 as it streams (a character
// Windows-1251 cannot hold becomes '?', the multi-line mark of a description
// list stays 0x04 0xC2); any other file passes through byte for byte, read
// straight into the caller's buffer.
#pragma once

#include <memory>

#include "core/file_system.h"

namespace glossira {

std::unique_ptr<InputFile> DecodedLog(std::unique_ptr<InputFile> raw);

}  // namespace glossira
