#pragma once
// kestrova-build --unpack: takes a theme archive apart into a folder of media and a theme.ini
// manifest, so that kestrova-build builds the theme again from it.

#include "package/ThemeArchiveReader.h"
#include "package/ThemeContents.h"

#include <ostream>
#include <string>
#include <vector>

enum class UnpackedScheme {
    Default, // the archive's scheme is the DeepBlue one the build packs anyway
    Custom,  // written as SkinScheme.col and named in [scheme]
    Missing, // the archive has none; a rebuild packs DeepBlue
};

struct UnpackResult : ThemeGaps {
    /// The files written into the folder, in order; theme.ini comes last.
    std::vector<std::string> written;
    UnpackedScheme scheme = UnpackedScheme::Missing;
    /// theme.ini keys whose text a manifest line cannot carry exactly (a line break, say).
    std::vector<std::string> inexactValues;
};

/// Reads the archive whole first, so a damaged or hostile one writes nothing, then creates the
/// folder if it is missing and writes the slots' files under their entry names, each with its
/// entry's time, SkinScheme.col when it is not DeepBlue, and theme.ini. Throws KestrovaError.
UnpackResult UnpackTheme(const std::string& archivePath, const std::string& folder,
                         const ThemeArchiveLimits& limits = {});

/// "--unpack THEME.sdt DIR" without the option: the exit status, as RunCommandLineBuild's.
int RunThemeUnpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
