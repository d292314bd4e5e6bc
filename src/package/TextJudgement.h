#pragma once
// Whether an entry counts as text (internal file attribute 1), judged from its first block.

#include <cstddef>

/// The bytes a deflater sees first: the stored rule and the text judgement look no further.
constexpr std::size_t FirstBlockSize = 32 * 1024;

/// Text when the bytes 0..6 and 128..255 are at most a quarter, rounded down, as many as the
/// bytes 7..127. Nothing at all counts as text.
bool LooksLikeText(const unsigned char* bytes, std::size_t size);
