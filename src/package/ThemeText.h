#pragma once
// What a theme's texts may hold. The descriptor carries them in Windows-1251 inside XML
// attributes, the archive names its entries in CP866, and the title names the archive's file.

#include "CodePage.h"

#include <string>
#include <string_view>

/// The text in the code page. Throws EncodingError, naming the text as `what` (such as
/// "The field \"Автор\""), when it holds a character the code page lacks or a control character
/// other than tab: XML cannot carry one, and a NUL would cut a file name short.
std::string ThemeTextBytes(std::string_view text, CodePage page, std::string_view what);

/// The text with each control character shown as U+FFFD, for quoting it in a message.
std::string ShownText(std::string_view text);
