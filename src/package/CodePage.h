#pragma once
// The program holds its texts in UTF-8; the theme wants single-byte code pages: Windows-1251 in
// the descriptor, the DOS code page CP866 in archive entry names.

#include <string>
#include <string_view>

enum class CodePage { Windows1251, Cp866 };

struct SingleByteText {
    std::string bytes;
    /// The first character that has no byte in the code page, as UTF-8; empty when none.
    std::string unconvertible;
};

/// Converts UTF-8, writing substitute for each character the code page lacks (and for each
/// byte that is not UTF-8).
SingleByteText FromUtf8(std::string_view utf8, CodePage page, char substitute = '_');

/// Converts single-byte text to UTF-8.
std::string ToUtf8(std::string_view bytes, CodePage page);
