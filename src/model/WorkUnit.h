#pragma once
// The 38 fixed elements of an EL71 theme ("slots"): their resource names, the kind of media each
// takes and where the phone draws each picture. Everything else addresses a slot by its number.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

constexpr int SlotCount = 38;

enum SlotKind : std::uint16_t { skMelody = 0, skAnimation = 1, skPicture = 2 };

struct SlotLayout {
    std::uint16_t kind; // a SlotKind value
    std::uint16_t x;    // preview offset on the 240x320 screen; pictures only
    std::uint16_t y;
};

/// Theme resource names: the base name of a slot's staged file, its descriptor line and its
/// archive entry. Lower-case ASCII letters, digits and underscores; never a ".".
extern const std::array<std::string_view, SlotCount> SlotNames;

extern const std::array<SlotLayout, SlotCount> SlotLayouts;

/// Slot number of a slot field named "Edit<n>": the first four characters are skipped, not
/// compared. Defined for the 38 slot field names only.
int SlotNumberFromFieldName(std::string_view fieldName);

/// `SlotNames` entry of the slot behind a slot field name.
std::string SlotResourceName(std::string_view fieldName);

/// Name of the editor field of slot n: "Edit" and n without leading zeros.
std::string SlotFieldName(int slot);
