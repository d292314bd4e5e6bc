#include "ThemeText.h"

#include "Errors.h"

#include <cstdio>

namespace {

bool IsControl(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

std::string CodePageName(CodePage page) {
    return page == CodePage::Windows1251 ? "the theme's code page Windows-1251"
                                         : "the archive's code page CP866";
}

} // namespace

std::string ThemeTextBytes(std::string_view text, CodePage page, std::string_view what) {
    // In UTF-8 these are single bytes: no byte of a longer character is below 0x80.
    for (char c : text)
        if (IsControl(c)) {
            char codePoint[8];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned char>(c));
            throw EncodingError(std::string(what) + " holds the control character " + codePoint +
                                ", which a theme's texts cannot hold");
        }
    SingleByteText converted = FromUtf8(text, page);
    if (!converted.unconvertible.empty())
        throw EncodingError(std::string(what) + " holds the character \"" +
                            converted.unconvertible + "\", which " + CodePageName(page) +
                            " cannot represent");
    return converted.bytes;
}

std::string ShownText(std::string_view text) {
    std::string shown;
    for (char c : text)
        shown += IsControl(c) ? std::string_view("\xEF\xBF\xBD") : std::string_view(&c, 1);
    return shown;
}
