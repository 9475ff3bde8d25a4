#include "files/FileHeader.h"

#include "files/ParameterFile.h"
#include "platform/Windows1252.h"

namespace files {

std::string WithCrLf(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

Header BuildHeader(std::string_view programTitle, std::string_view comment) {
    const auto encoded = platform::EncodeWindows1252(WithCrLf(comment));
    if (!encoded.bytes)
        return {{}, HeaderProblem::CommentNotEncodable};
    if (encoded.bytes->size() > LongestComment)
        return {{}, HeaderProblem::CommentTooLong};
    std::string text(FormatMark);
    text += "\nVersion: " + std::string(programTitle) + "\n\n";
    return {text + *encoded.bytes, HeaderProblem::None};
}

}  // namespace files
