#include "NamePattern.h"

#include "AsciiCase.h"
#include "Utf8.h"

#include <vector>

namespace {

char32_t FoldAscii(char32_t c) {
    return c < 0x80 ? static_cast<char32_t>(AsciiLower(static_cast<char>(c))) : c;
}

/// Splits UTF-8 into characters, so "?" takes a whole Cyrillic letter. A byte that does not
/// start a valid sequence stands for itself.
std::vector<char32_t> Characters(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = Utf8SequenceAt(text, i);
        if (!sequence.whole) {
            // Marked apart from every real character, so it only matches the same raw byte.
            out.push_back(0x110000 + static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        out.push_back(FoldAscii(sequence.code));
        i += sequence.length;
    }
    return out;
}

/// Where the set starting at p ("[" at p) ends: the index of its "]", or 0 when it has none.
std::size_t SetEnd(const std::vector<char32_t>& p, std::size_t open) {
    std::size_t i = open + 1;
    if (i < p.size() && (p[i] == '!' || p[i] == '^'))
        ++i;
    if (i < p.size() && p[i] == ']') // a "]" first in a set is one of its members
        ++i;
    for (; i < p.size(); ++i)
        if (p[i] == ']')
            return i;
    return 0;
}

bool InSet(const std::vector<char32_t>& p, std::size_t open, std::size_t close, char32_t c) {
    std::size_t i = open + 1;
    bool negated = p[i] == '!' || p[i] == '^';
    if (negated)
        ++i;
    bool found = false;
    for (; i < close; ++i) {
        if (i + 2 < close && p[i + 1] == '-') {
            if (c >= p[i] && c <= p[i + 2])
                found = true;
            i += 2;
        } else if (p[i] == c) {
            found = true;
        }
    }
    return found != negated;
}

bool Match(const std::vector<char32_t>& p, const std::vector<char32_t>& n) {
    // Iterative with one backtrack point for the last "*": linear enough for file names.
    std::size_t pi = 0, ni = 0, starP = std::string_view::npos, starN = 0;
    while (ni < n.size()) {
        if (pi < p.size()) {
            char32_t c = p[pi];
            if (c == '*') {
                starP = ++pi;
                starN = ni;
                continue;
            }
            if (c == '?') {
                ++pi;
                ++ni;
                continue;
            }
            if (c == '[') {
                if (std::size_t close = SetEnd(p, pi)) {
                    if (InSet(p, pi, close, n[ni])) {
                        pi = close + 1;
                        ++ni;
                        continue;
                    }
                } else if (n[ni] == c) {
                    ++pi;
                    ++ni;
                    continue;
                }
            } else if (n[ni] == c) {
                ++pi;
                ++ni;
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        pi = starP;
        ni = ++starN;
    }
    while (pi < p.size() && p[pi] == '*')
        ++pi;
    return pi == p.size();
}

} // namespace

bool IsNamePattern(std::string_view entry) {
    return entry.find_first_of("*?[]") != std::string_view::npos;
}

bool MatchesNamePattern(std::string_view pattern, std::string_view name) {
    return Match(Characters(pattern), Characters(name));
}

bool SameEntryName(std::string_view a, std::string_view b) {
    return SameIgnoringAsciiCase(a, b);
}
