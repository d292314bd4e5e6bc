#include "ColourScheme.h"

#include "Errors.h"
#include "PathNames.h"
#include "StagedFile.h"
#include "Staging.h"

// The colour scheme of the phone's DeepBlue theme: six header lines, then 60 rows of three
// colour components and a flag. Length and CRC in the header cover the 960 bytes of the rows.
const std::string_view DefaultColourScheme = "ColourScheme DeepBlue\n"
                                             "ID      5\n"
                                             "Version 1.2\n"
                                             "Length  960\n"
                                             "CRC     2220169258\n"
                                             "Data\n"
                                             "255 255 255 100\n"
                                             "005 017 026 100\n"
                                             "255 255 255 100\n"
                                             "000 051 102 100\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "000 000 000 000\n"
                                             "000 102 153 100\n"
                                             "005 017 028 000\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "255 255 255 100\n"
                                             "255 254 254 100\n"
                                             "255 051 000 000\n"
                                             "255 255 255 100\n"
                                             "255 000 000 000\n"
                                             "255 255 255 100\n"
                                             "255 000 255 000\n"
                                             "034 170 221 100\n"
                                             "255 255 255 100\n"
                                             "000 051 102 100\n"
                                             "255 255 255 100\n"
                                             "034 170 221 100\n"
                                             "153 153 153 100\n"
                                             "255 204 000 100\n"
                                             "000 000 000 100\n"
                                             "255 255 255 100\n"
                                             "000 255 000 000\n"
                                             "248 252 248 100\n"
                                             "204 255 204 100\n"
                                             "000 000 000 000\n"
                                             "000 102 153 000\n"
                                             "255 254 254 100\n"
                                             "000 000 000 100\n"
                                             "034 170 221 100\n"
                                             "000 000 000 100\n"
                                             "102 204 255 100\n"
                                             "000 051 102 100\n"
                                             "204 255 204 100\n"
                                             "102 204 255 100\n"
                                             "000 102 153 100\n"
                                             "248 252 248 100\n"
                                             "000 051 051 100\n"
                                             "000 102 153 100\n"
                                             "255 102 000 100\n"
                                             "224 240 240 000\n"
                                             "213 213 212 000\n"
                                             "255 000 000 100\n"
                                             "255 254 254 100\n"
                                             "204 255 204 100\n"
                                             "255 153 051 100\n"
                                             "000 102 153 100\n"
                                             "225 226 249 100\n"
                                             "255 255 254 100\n"
                                             "000 000 000 100\n"
                                             "204 000 204 100\n"
                                             "255 000 153 100\n";

void SaveDefaultColourScheme(const std::string& tempDir) {
    std::string path = JoinPath(tempDir, ColourSchemeFileName);
    StagedFile file;
    if (int error = file.Create(path))
        throw StreamError::Create(path, error);
    // Written anew by every build that packs it.
    if (file.File().WriteAll(DefaultColourScheme.data(), DefaultColourScheme.size()) != 0 ||
        file.Finish(Flush::NotNeeded) != 0)
        throw StreamError::Write();
    if (int error = file.Commit())
        throw StreamError::Create(path, error);
}

std::string StageColourScheme(ThemeDocument& document, const std::string& chosenPath) {
    std::string staged = JoinPath(document.TempDir, ColourSchemeFileName);
    // A custom scheme left staged is packed by a later run whose box is cleared, so it must
    // survive a power loss whole.
    CopyFileKeepDate(chosenPath, staged, Flush::ToDisk);
    document.FilesList.push_back(staged);
    return staged;
}
