#include "CodePage.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

const char* CharsetName(CodePage page) {
    return page == CodePage::Windows1251 ? "CP1251" : "CP866";
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { iconv_close(cd_); }
    iconv_t Get() const { return cd_; }

private:
    iconv_t cd_;
};

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

struct Sequence {
    std::size_t length;
    bool whole; // a well-formed character
};

// The UTF-8 sequence at text[at]. An ill-formed one is only as long as the bytes that could
// still have begun a character, so the characters after it survive a substitution.
Sequence SequenceAt(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {1, true};
    std::size_t expected = SequenceLength(lead);
    if (expected == 1)
        return {1, false};
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
        ++length;
    }
    return {length, length == expected};
}

// Runs input through iconv. Where it stops at bytes it cannot convert, skip(at, output) appends
// what stands for them and returns how many input bytes they take.
template <typename Skip>
std::string Convert(const char* to, const char* from, std::string_view input, Skip skip) {
    Converter converter(to, from);
    std::string output;
    output.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[512];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        std::size_t length = skip(static_cast<std::size_t>(in - input.data()), output);
        in += length;
        inLeft -= length;
    }
    return output;
}

} // namespace

SingleByteText FromUtf8(std::string_view utf8, CodePage page, char substitute) {
    SingleByteText result;
    result.bytes = Convert(CharsetName(page), "UTF-8", utf8, [&](std::size_t at, std::string& out) {
        // A character the code page lacks, or bytes that are not UTF-8.
        std::size_t length = SequenceAt(utf8, at).length;
        if (result.unconvertible.empty())
            result.unconvertible = utf8.substr(at, length);
        out.push_back(substitute);
        return length;
    });
    return result;
}

std::string ToUtf8(std::string_view bytes, CodePage page) {
    return Convert("UTF-8", CharsetName(page), bytes, [](std::size_t, std::string& out) {
        // A byte with no character in the code page (0x98 in CP1251).
        out += "\xEF\xBF\xBD";
        return std::size_t{1};
    });
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        Sequence sequence = SequenceAt(text, i);
        if (!sequence.whole)
            return false;
        i += sequence.length;
    }
    return true;
}
