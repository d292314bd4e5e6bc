#pragma once
// The theme being made: its texts, what was chosen for each slot and in which order, the colour
// scheme, and the package list the descriptor and the archive are made from. Every view shows
// this one document and changes it only through the theme editor.

#include "WorkUnit.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The eight descriptive texts, held as UTF-8, with the values a new theme starts from.
struct ThemeMetadata {
    std::string Title;                         // TNEdit; also the archive's base name
    std::string Author;                        // TAEdit
    std::string Published;                     // TDEdit; start-up puts today's date here
    std::string Version = "1.0";               // TVEdit
    std::string Resolution = "240x320 pixels"; // TREdit, read-only
    std::string Vendor;                        // TVendEdit
    std::string Price = "0";                   // TPEdit
    std::string Url;                           // TUEdit
};

/// The metadata texts in the order of the window's settings page and the descriptor's lines.
enum class MetadataField { Title, Author, Published, Version, Resolution, Vendor, Price, Url };

inline constexpr int MetadataFieldCount = 8;

/// What each metadata text is called where it is written down.
struct MetadataFieldInfo {
    MetadataField field;
    std::string ThemeMetadata::*text;
    std::string_view element;     // "txt" or "url" in config.spc
    std::string_view name;        // the descriptor's name attribute, "Title:"
    std::string_view logPrefix;   // the log line written when the user leaves the field
    std::string_view manifestKey; // kestrova-build's [theme] key
    std::string_view caption;     // how messages name the field
};

extern const std::array<MetadataFieldInfo, MetadataFieldCount> MetadataFields;

const MetadataFieldInfo& FieldInfo(MetadataField field);

/// The package list: files to pack, in the order they were appended. Equal entries stay.
using PackageList = std::vector<std::string>;

/// One choice of a file for a slot.
struct SlotFile {
    std::string sourcePath; // as the user gave it
    std::string stagedPath; // its copy in the staging folder
};

/// The colour scheme the theme packs: the built-in one, or a staged file.
struct SchemeChoice {
    bool useDefault = true; // CheckBox1
    /// The custom file picked last (CSEdit), also when staging it failed.
    std::string pickedPath;
    /// Where the last custom file that was staged lies; empty before the first.
    std::string stagedPath;
};

struct ThemeDocument {
    ThemeMetadata Metadata;
    /// 1 once a file has been staged for the slot, 0 before.
    std::array<std::uint8_t, SlotCount> SlotChosen{};
    /// The path picked last for each slot, which its field shows, also when staging it failed.
    std::array<std::string, SlotCount> PickedPaths;
    /// Every choice that was staged for each slot, in order.
    std::array<std::vector<SlotFile>, SlotCount> Choices;
    SchemeChoice Scheme;
    PackageList FilesList;
    /// The staging folder, without a trailing separator.
    std::string TempDir;

    bool AllSlotsChosen() const;
    /// The file staged last for the slot, or nullptr.
    const SlotFile* CurrentFile(int slot) const;
};
