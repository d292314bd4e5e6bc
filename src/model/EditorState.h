#pragma once
// What the user has told the editor about the theme being made in this run. Nothing of it is
// saved; every run starts from the initial values below.

#include "WorkUnit.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/// The eight descriptive texts, held as UTF-8. The window's TNEdit..TUEdit show them.
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

/// The package list: files to pack, in the order they were appended. Equal entries stay.
using PackageList = std::vector<std::string>;

struct EditorState {
    ThemeMetadata Metadata;
    /// 1 once a file has been staged for the slot, 0 before.
    std::array<std::uint8_t, SlotCount> SlotChosen{};
    PackageList FilesList;
    /// The staging folder, without a trailing separator.
    std::string TempDir;

    bool AllSlotsChosen() const;
};
