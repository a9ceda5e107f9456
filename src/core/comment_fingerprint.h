// What the editor loaded of its comment file, so that a save notices when
// another program, or a second editor on the same comment, has written the
// file since.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/file_system.h"

namespace glossira {

struct CommentFingerprint {
    bool exists = false;  // false: the editor started without a comment file
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const CommentFingerprint&, const CommentFingerprint&) = default;
};

// The fingerprint of a file holding these bytes.
CommentFingerprint FingerprintOf(std::string_view bytes);

// True when the file now holds text other than what was loaded: changed, or
// appeared since the editor started empty. A file that is gone or cannot be
// read holds nobody's text; the save reports its own errors.
bool ChangedSinceLoaded(FileSystem& files, const std::string& path, const CommentFingerprint& loaded);

}  // namespace glossira
