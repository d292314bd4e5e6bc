#include "CodePage.h"

#include "Utf8.h"

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
        std::size_t length = Utf8SequenceAt(utf8, at).length;
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
