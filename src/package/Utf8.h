#pragma once
// Walking UTF-8 one character at a time, strictly: overlong forms, surrogates and code points
// past U+10FFFF are not characters.

#include <cstddef>
#include <string_view>

struct Utf8Sequence {
    std::size_t length; // bytes taken
    bool whole;         // a well-formed character
    char32_t code;      // the character; for an ill-formed sequence, its first byte
};

/// The sequence at text[at]. An ill-formed one is only as long as the bytes that could still
/// have begun a character, so the characters after it survive a substitution.
Utf8Sequence Utf8SequenceAt(std::string_view text, std::size_t at);

bool IsValidUtf8(std::string_view text);
