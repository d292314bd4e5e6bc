#include "SlotDescriptions.h"

#include "IniFile.h"

std::array<std::string, SlotCount> ReadSlotDescriptions(const std::string& iniPath) {
    IniFile ini = IniFile::Load(iniPath);
    std::array<std::string, SlotCount> descriptions;
    for (int slot = 0; slot < SlotCount; ++slot)
        descriptions[slot] = ini.ReadString("descriptions", "d" + std::to_string(slot));
    return descriptions;
}
