#pragma once
// descr.ini and descr_en.ini: one description per slot, shown in the slot's field and as its hint.

#include "model/WorkUnit.h"

#include <array>
#include <string>

inline constexpr std::string_view DescriptionsFileName = "descr.ini";
/// The same descriptions in English, read instead when the interface is English.
inline constexpr std::string_view EnglishDescriptionsFileName = "descr_en.ini";

/// Values of d0..d37 in section "descriptions"; empty where the file, section or key is missing.
std::array<std::string, SlotCount> ReadSlotDescriptions(const std::string& iniPath);
