#include "CodePage.h"

#include <algorithm>
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

} // namespace

SingleByteText FromUtf8(std::string_view utf8, CodePage page, char substitute) {
    Converter converter(CharsetName(page), "UTF-8");
    SingleByteText result;
    result.bytes.reserve(utf8.size());
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        result.bytes.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: a character the code page lacks, or bytes that are not UTF-8.
        std::size_t length = std::min(SequenceLength(static_cast<unsigned char>(*in)), inLeft);
        if (result.unconvertible.empty())
            result.unconvertible.assign(in, length);
        result.bytes.push_back(substitute);
        in += length;
        inLeft -= length;
    }
    return result;
}

std::string ToUtf8(std::string_view bytes, CodePage page) {
    Converter converter("UTF-8", CharsetName(page));
    std::string result;
    result.reserve(bytes.size() * 2);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[512];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(converter.Get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte with no character in the code page (0x98 in CP1251): skip it.
            result += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
        }
    }
    return result;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = SequenceLength(lead);
        if (length == 1 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        auto second = static_cast<unsigned char>(text[i + 1]);
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}
