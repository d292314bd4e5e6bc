#include "ThemeCheck.h"

#include "PictureProbe.h"
#include "package/PictureStructure.h"

#include <QImage>

namespace {

PictureReader DecodingReader(QImage* firstFrame) {
    return [firstFrame](std::string_view bytes, ElementFacts& facts) {
        const PictureProbe probe = ProbePicture(bytes, firstFrame);
        facts.format = probe.format;
        facts.width = probe.width;
        facts.height = probe.height;
        facts.frames = probe.frames;
        // A JPEG or GIF cut short still decodes, so the structure has its say too.
        return probe.outcome == PictureProbe::Outcome::Damaged ||
               !ReadPictureStructure(bytes).complete;
    };
}

} // namespace

ElementReport CheckElement(int slot, const std::string& path, QImage* firstFrame) {
    return CheckElementFile(slot, path, DecodingReader(firstFrame));
}

ThemeReport CheckTheme(const ThemeFiles& files) {
    return CheckThemeFiles(files, DecodingReader(nullptr));
}
