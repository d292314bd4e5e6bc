#pragma once
// DOS date and time: local time at two-second resolution, years 1980 to 2107. ZIP headers carry
// file times this way, and staged copies are stamped through it.

#include <cstdint>
#include <ctime>
#include <optional>

/// Date in the high 16 bits, time in the low 16; nothing when the year is outside 1980..2107.
std::optional<std::uint32_t> DosDateTimeFromUnix(std::time_t time);

/// The local time a DOS date and time stands for.
std::time_t UnixFromDosDateTime(std::uint32_t dosDateTime);
