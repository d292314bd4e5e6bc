#include "ThemeCheck.h"

#include "PictureProbe.h"
#include "package/MediaSniffing.h"
#include "package/PictureStructure.h"

#include <QImage>

ElementReport CheckElement(int slot, const std::string& path, QImage* firstFrame,
                           CheckDepth depth) {
    if (SlotLayouts[slot].kind == skMelody)
        return CheckMelodyFile(slot, path);
    ElementReport report;
    report.slot = slot;
    report.path = path;
    if (path.empty())
        return report;
    std::optional<MappedFile> file = OpenElementFile(report);
    if (!file)
        return report;
    const std::string_view bytes = file->Bytes();
    const PictureProbe probe = ProbePicture(bytes, firstFrame, depth);
    ElementFacts& facts = report.facts;
    facts.format = probe.format;
    facts.width = probe.width;
    facts.height = probe.height;
    facts.frames = probe.frames;
    if (probe.outcome == PictureProbe::Outcome::UnknownFormat) {
        // A sound chosen by mistake is worth naming.
        facts.format = std::string(SniffMelodyFormat(bytes));
        report.findings.emplace_back(FindingCode::NotAPicture);
        return report;
    }
    if (probe.outcome == PictureProbe::Outcome::Damaged || !ReadPictureStructure(bytes).complete)
        report.findings.emplace_back(FindingCode::DamagedPicture);
    JudgeExtension(report);
    JudgePlacement(report);
    SortFindings(report);
    return report;
}

ThemeReport CheckTheme(const ThemeFiles& files, CheckDepth depth) {
    // One element after another on the calling thread: Qt's decoders are loaded as plugins,
    // whose objects belong to the thread that first loads them and must not outlive it.
    ThemeReport report;
    for (int slot = 0; slot < SlotCount; ++slot)
        report.elements[slot] =
            CheckElement(slot, files[slot].value_or(std::string()), nullptr, depth);
    return report;
}
