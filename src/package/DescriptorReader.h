#pragma once
// Reading config.spc back from a theme being opened: the eight descriptive texts and the
// resource lines. The descriptor is Windows-1251 XML from who knows where, so it goes through
// expat; one that is missing or does not parse is reported, never thrown, since the archive's
// files can still be matched to slots by their names.

#include "ThemeArchiveReader.h"
#include "model/ThemeDocument.h"

#include <string>
#include <string_view>
#include <vector>

/// A `res` line: the resource's name and the file it takes, as UTF-8.
struct ResourceLine {
    std::string name;
    std::string src;
};

enum class DescriptorStatus { Read, Missing, Unreadable };

struct DescriptorContents {
    DescriptorStatus status = DescriptorStatus::Missing;
    /// Why an unreadable descriptor could not be read, as expat or the check says it, with the
    /// place: "not well-formed (invalid token) at line 3, column 7".
    std::string problem;
    /// The texts of the `txt` and `url` lines found by their names ("Title:", "URL:"...); a text
    /// the descriptor lacks keeps its initial value.
    ThemeMetadata metadata;
    /// Every `res` line in the order of the file, "text_colors" included.
    std::vector<ResourceLine> resources;
};

/// Reads a descriptor's bytes: Windows-1251, unless it starts with a UTF-8 byte-order mark.
DescriptorContents ReadThemeDescriptor(std::string_view bytes);

/// Reads the archive's config.spc, or says that it has none.
DescriptorContents ReadArchiveDescriptor(const ThemeArchive& archive);
