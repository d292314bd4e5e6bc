#include "QuickCheck.h"

#include "PictureStructure.h"

namespace {

bool ReadStructure(std::string_view bytes, ElementFacts& facts) {
    const PictureStructure structure = ReadPictureStructure(bytes);
    facts.format = structure.format;
    facts.width = structure.width;
    facts.height = structure.height;
    facts.frames = structure.frames;
    return !structure.complete;
}

} // namespace

ElementReport QuickCheckElement(int slot, const std::string& path) {
    return CheckElementFile(slot, path, ReadStructure);
}

ThemeReport QuickCheckTheme(const ThemeFiles& files) {
    return CheckThemeFiles(files, ReadStructure);
}
