// The encoding of a comment file. Notepad saves UTF-8: such a comment is
// shown in Windows-1251 and written back in UTF-8, with the byte-order mark
// exactly when it had one. Every other file is Windows-1251, byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace glossira {

enum class CommentEncoding { Cp1251, Utf8, Utf8WithMark };

struct DecodedComment {
    std::string text;  // Windows-1251
    CommentEncoding encoding = CommentEncoding::Cp1251;
    // A character Windows-1251 cannot hold (or a malformed sequence after
    // the mark) stands as '?': saving the text would lose it.
    bool lossy = false;
};

// UTF-8 when the bytes begin with its mark, or when they are valid UTF-8
// holding at least one sequence of two or more bytes; Windows-1251 otherwise.
DecodedComment DecodeComment(std::string_view bytes);

// The bytes of the Windows-1251 text in the comment's encoding.
std::string EncodeComment(std::string_view cp1251, CommentEncoding encoding);

}  // namespace glossira
