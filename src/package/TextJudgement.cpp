#include "TextJudgement.h"

bool LooksLikeText(const unsigned char* bytes, std::size_t size) {
    // A deflater judges by the literals of its first block; we cannot see which bytes libdeflate
    // or zlib emit as literals rather than as parts of matches, so we judge every byte of the
    // block instead.
    std::size_t binary = 0;
    std::size_t text = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] <= 6 || bytes[i] >= 128)
            ++binary;
        else
            ++text;
    }
    return binary <= text / 4;
}
