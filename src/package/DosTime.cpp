#include "DosTime.h"

std::optional<std::uint32_t> DosDateTimeFromUnix(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local))
        return std::nullopt;
    int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return std::nullopt;
    std::uint32_t date = static_cast<std::uint32_t>(((year - 1980) << 9) |
                                                    ((local.tm_mon + 1) << 5) | local.tm_mday);
    std::uint32_t clock = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                                     (local.tm_sec / 2));
    return date << 16 | clock;
}

std::time_t UnixFromDosDateTime(std::uint32_t dosDateTime) {
    std::uint32_t date = dosDateTime >> 16;
    std::uint32_t clock = dosDateTime & 0xFFFF;
    std::tm local{};
    local.tm_year = static_cast<int>((date >> 9) + 1980 - 1900);
    local.tm_mon = static_cast<int>(((date >> 5) & 0x0F)) - 1;
    local.tm_mday = static_cast<int>(date & 0x1F);
    local.tm_hour = static_cast<int>(clock >> 11);
    local.tm_min = static_cast<int>((clock >> 5) & 0x3F);
    local.tm_sec = static_cast<int>((clock & 0x1F) * 2);
    local.tm_isdst = -1;
    return std::mktime(&local);
}
