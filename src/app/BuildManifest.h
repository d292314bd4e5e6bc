#pragma once
// The command-line builder's manifest: a UTF-8 ini file with the theme's texts in [theme], one
// line per chosen file in [slots] (in choice order, a slot may repeat) and an optional [scheme].

#include "StartTime.h"
#include "model/ThemeDocument.h"

#include <string>
#include <vector>

struct SlotChoice {
    int slot;
    std::string path; // resolved against the manifest's folder
    int line;         // the manifest line, for messages
};

struct BuildManifest {
    ThemeMetadata Metadata;
    std::vector<SlotChoice> Choices;
    std::string SchemeFile; // empty: the default scheme
    int SchemeLine = 0;
};

/// Reads and checks a manifest: every slot known, every named file present. Unset texts keep the
/// editor's initial values, and the publication date defaults to today's as the editor gives it.
/// Throws KestrovaError naming the manifest and the line at fault.
BuildManifest ReadBuildManifest(const std::string& manifestPath, const UtcTime& today);

/// The slot a [slots] key names: its resource name (any letter case) or its number; -1 if none.
int SlotFromManifestKey(std::string_view key);
