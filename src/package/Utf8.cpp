#include "Utf8.h"

namespace {

// Length of the UTF-8 sequence that starts with lead, or 1 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    return 1;
}

} // namespace

Utf8Sequence Utf8SequenceAt(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {1, true, lead};
    std::size_t expected = SequenceLength(lead);
    if (expected == 1)
        return {1, false, lead};
    char32_t code = lead & (0x7F >> expected);
    std::size_t length = 1;
    while (length < expected && at + length < text.size()) {
        auto next = static_cast<unsigned char>(text[at + length]);
        unsigned char low = 0x80, high = 0xBF;
        // Second bytes that would give overlong forms, surrogates or code points past U+10FFFF.
        if (length == 1) {
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
            else if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        }
        if (next < low || next > high)
            break;
        code = code << 6 | (next & 0x3F);
        ++length;
    }
    if (length != expected)
        return {length, false, lead};
    return {length, true, code};
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        Utf8Sequence sequence = Utf8SequenceAt(text, i);
        if (!sequence.whole)
            return false;
        i += sequence.length;
    }
    return true;
}
