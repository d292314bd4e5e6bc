#include "ThemeCheck.h"

#include "PictureProbe.h"
#include "package/MediaSniffing.h"
#include "package/PictureCompleteness.h"
#include "package/WorkerPool.h"

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <latch>

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
    if (probe.outcome == PictureProbe::Outcome::Damaged || !PictureComplete(facts.format, bytes))
        report.findings.emplace_back(FindingCode::DamagedPicture);
    JudgeExtension(report);
    JudgePlacement(report);
    SortFindings(report);
    return report;
}

ThemeReport CheckTheme(const ThemeFiles& files, CheckDepth depth) {
    // The elements are checked side by side, on as many threads as a pack deflates on: Qt's
    // decoders are reentrant, and a build waits for the check before it starts.
    ThemeReport report;
    std::latch done(SlotCount);
    {
        WorkerPool pool(std::min(DefaultPackThreads(), SlotCount));
        for (int slot = 0; slot < SlotCount; ++slot) {
            const std::string path = files[slot].value_or(std::string());
            std::error_code ignored;
            const auto size = path.empty() ? 0 : std::filesystem::file_size(path, ignored);
            pool.Submit(size == std::uintmax_t(-1) ? 0 : size,
                        [&report, &done, slot, path, depth](int) {
                            report.elements[slot] = CheckElement(slot, path, nullptr, depth);
                            done.count_down();
                        });
        }
        done.wait();
    }
    return report;
}
