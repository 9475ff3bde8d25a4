#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The header text of a parameter file: the format mark, a line naming the
// program that saved it, a blank line and the user's comment.
namespace files {

// Characters of a comment, its line breaks counted as two.
inline constexpr size_t LongestComment = 512;

enum class HeaderProblem { None, CommentTooLong, CommentNotEncodable };

struct Header {
    std::string text;  // Windows-1252
    HeaderProblem problem = HeaderProblem::None;
};

// The comment's line breaks as carriage return and line feed, as the file keeps them.
std::string WithCrLf(std::string_view text);

// The header for a comment in UTF-8; the title is plain ASCII. A comment that Windows-1252 cannot
// hold, or that is longer than LongestComment, gives no text.
Header BuildHeader(std::string_view programTitle, std::string_view comment);

}  // namespace files
