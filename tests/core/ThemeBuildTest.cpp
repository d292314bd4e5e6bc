#include "TestSupport.h"
#include "app/ThemeEditor.h"
#include "model/WorkUnit.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/Staging.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The build's statuses as the window words them.
const std::string StatusNotEnoughElements = "Не хватает элементов темы!";
const std::string StatusNotAllSettings = "Не все настройки темы установлены!";
const std::string StatusInProgress = "В процессе...";
const std::string StatusDone = "Сделано!!!";

class Recorder : public BuildReporter {
public:
    void SetStatus(BuildStatus status) override {
        const std::string* texts[] = {&StatusNotEnoughElements, &StatusNotAllSettings,
                                      &StatusInProgress, &StatusDone};
        events.push_back(*texts[static_cast<int>(status)]);
    }
    void SetProgress(int position) override { events.push_back(std::to_string(position)); }
    std::vector<std::string> events;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Python's zipfile is the judge, not our own reader.
std::vector<std::string> ArchiveNames(const std::string& archive) {
    auto result = test::Run("/usr/bin/python3 -c 'import sys, zipfile\n"
                            "z = zipfile.ZipFile(sys.argv[1], metadata_encoding=\"cp866\")\n"
                            "assert z.testzip() is None\n"
                            "print(\"\\n\".join(z.namelist()))' " +
                            test::ShellQuote(archive));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return Lines(result.output);
}

std::string ArchiveMember(const std::string& archive, const std::string& name) {
    auto result = test::Run("/usr/bin/python3 -c 'import sys, zipfile\n"
                            "z = zipfile.ZipFile(sys.argv[1], metadata_encoding=\"cp866\")\n"
                            "sys.stdout.buffer.write(z.read(sys.argv[2]))' " +
                            test::ShellQuote(archive) + " " + test::ShellQuote(name));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

// The resource lines of a descriptor: the src of every <res> but text_colors.
std::vector<std::string> DescriptorSources(const std::string& descriptor) {
    std::vector<std::string> sources;
    for (const std::string& line : Lines(descriptor)) {
        std::size_t src = line.find("src=\"");
        if (line.find("<res name=") == std::string::npos || src == std::string::npos ||
            line.find("text_colors") != std::string::npos)
            continue;
        sources.push_back(line.substr(src + 5, line.rfind('"') - src - 5));
    }
    return sources;
}

const char* ExtensionOf(int slot) {
    switch (SlotLayouts[slot].kind) {
    case skMelody:
        return ".mid";
    case skAnimation:
        return ".gif";
    default:
        return ".png";
    }
}

class ThemeBuild : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(temp);
        fs::create_directories(out);
        fs::create_directories(media);
        NewTheme("Осень");
    }

    void NewTheme(const std::string& title) {
        editor = std::make_unique<ThemeEditor>(temp);
        editor->SetText(MetadataField::Title, title);
    }

    const ThemeDocument& state() const { return editor->Document(); }

    bool Build(Recorder& recorder) { return editor->Build(options, recorder); }

    // Chooses a file for a slot as the window does.
    std::string Choose(int slot, const std::string& extension, const std::string& content) {
        std::string source = media + "/" + std::to_string(slot) + extension;
        test::WriteFile(source, content);
        test::SetLocalMTime(source, 2020, 1, 1, 12, 0, 0);
        editor->ChooseSlotFile(slot, source);
        return std::string(SlotNames[slot]) + extension;
    }

    // All 38 slots, last slot first, so list order cannot pass for slot order.
    std::vector<std::string> ChooseAll() {
        std::vector<std::string> staged;
        for (int slot = SlotCount - 1; slot >= 0; --slot)
            staged.push_back(Choose(slot, ExtensionOf(slot), "slot " + std::to_string(slot)));
        return staged;
    }

    std::vector<std::string> StagingContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(temp))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string Archive() const { return out + "/Осень.sdt"; }

    test::ScopedTimeZone zone{"UTC"};
    test::TempFolder root;
    std::string temp = root / "temp";
    std::string out = root / "out";
    std::string media = root / "media";
    std::unique_ptr<ThemeEditor> editor;
    BuildOptions options{out, {}};
    Recorder reporter;
};

} // namespace

TEST_F(ThemeBuild, RefusalsWriteNothing) {
    struct Case {
        const char* name;
        int distinctSlots;
        int repeatsOfSlot0;
        const std::string& status;
    };
    for (const Case& c : {Case{"nothing chosen", 0, 0, StatusNotEnoughElements},
                          Case{"nine slots", 9, 0, StatusNotEnoughElements},
                          Case{"one slot ten times", 0, 10, StatusNotAllSettings},
                          Case{"37 slots", 37, 0, StatusNotAllSettings}}) {
        NewTheme("Осень");
        fs::remove_all(temp);
        fs::create_directories(temp);
        for (int slot = 1; slot <= c.distinctSlots; ++slot)
            Choose(slot, ".png", "x");
        for (int i = 0; i < c.repeatsOfSlot0; ++i)
            Choose(0, ".mid", "x");
        const ThemeDocument before = state();
        const auto staged = StagingContents();
        Recorder recorder;

        EXPECT_FALSE(Build(recorder)) << c.name;
        EXPECT_EQ(recorder.events, std::vector<std::string>{std::string(c.status)}) << c.name;
        EXPECT_EQ(StagingContents(), staged) << c.name;
        EXPECT_TRUE(fs::is_empty(out)) << c.name;
        EXPECT_EQ(state().FilesList, before.FilesList) << c.name;
        EXPECT_EQ(state().SlotChosen, before.SlotChosen) << c.name;
    }
}

TEST_F(ThemeBuild, FullThemePacksFortyEntriesInChoiceOrderAndEmptiesStaging) {
    // One picture that does not compress, so the writer has output to report.
    std::string noise(100 * 1024, '\0');
    std::mt19937 random(7);
    for (char& c : noise)
        c = static_cast<char>(random());
    std::vector<std::string> staged = ChooseAll();
    Choose(0, ".mid", noise); // slot 0 again under the same name: listed twice, packed once
    int messages = 0;
    options.processMessages = [&] { ++messages; };
    options.outputDir = out + "/"; // as the window passes the program's folder

    EXPECT_TRUE(Build(reporter));

    EXPECT_EQ(reporter.events, (std::vector<std::string>{std::string(StatusInProgress), "80", "100",
                                                         std::string(StatusDone)}));
    EXPECT_GT(messages, 0);
    std::vector<std::string> expected = staged;
    expected.push_back("SkinScheme.col");
    expected.push_back("config.spc");
    EXPECT_EQ(ArchiveNames(Archive()), expected);
    EXPECT_EQ(ArchiveMember(Archive(), "standard_ringtone.mid"), noise);
    EXPECT_EQ(ArchiveMember(Archive(), "SkinScheme.col"), DefaultColourScheme);
    std::vector<std::string> listed = staged;
    listed.push_back(std::string(SlotNames[0]) + ".mid"); // the repeated choice
    EXPECT_EQ(DescriptorSources(ArchiveMember(Archive(), "config.spc")), listed);
    EXPECT_EQ(StagingContents(), std::vector<std::string>{});

    // The staged files are gone, so nothing is left to build again without new choices.
    EXPECT_TRUE(state().FilesList.empty());
    EXPECT_FALSE(std::any_of(state().SlotChosen.begin(), state().SlotChosen.end(),
                             [](auto flag) { return flag != 0; }));
    Recorder again;
    EXPECT_FALSE(Build(again));
    EXPECT_EQ(again.events, std::vector<std::string>{std::string(StatusNotEnoughElements)});
}

TEST_F(ThemeBuild, CheckBoxDecidesWhichSchemeIsPacked) {
    struct Case {
        bool useDefault;
        bool customChosen;
        std::string packed; // empty: no scheme entry at all
    };
    const std::string custom = "ColourScheme Mine\n";
    for (const Case& c : {Case{true, true, std::string(DefaultColourScheme)},
                          Case{false, true, custom}, Case{false, false, ""}}) {
        fs::remove_all(temp);
        fs::create_directories(temp);
        fs::remove(Archive());
        NewTheme("Осень");
        ChooseAll();
        if (c.customChosen) {
            test::WriteFile(media + "/mine.col", custom);
            editor->ChooseColourScheme(media + "/mine.col");
        }
        editor->SetUseDefaultScheme(c.useDefault);

        ASSERT_TRUE(Build(reporter));
        auto names = ArchiveNames(Archive());
        bool hasScheme = std::count(names.begin(), names.end(), "SkinScheme.col") == 1;
        EXPECT_EQ(hasScheme, !c.packed.empty());
        if (hasScheme) {
            EXPECT_EQ(ArchiveMember(Archive(), "SkinScheme.col"), c.packed);
        }
    }
}

TEST_F(ThemeBuild, StagedFileRemovedBeforehandIsLeftOutButListed) {
    std::vector<std::string> staged = ChooseAll();
    fs::remove(temp + "/idle_wallpaper.png");

    EXPECT_TRUE(Build(reporter));
    EXPECT_EQ(reporter.events.back(), StatusDone);
    auto names = ArchiveNames(Archive());
    EXPECT_EQ(names.size(), 39u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "idle_wallpaper.png"), 0);
    EXPECT_EQ(DescriptorSources(ArchiveMember(Archive(), "config.spc")), staged);
}

TEST_F(ThemeBuild, UpdateKeepsTheFilesThatMatchedOldEntriesStaged) {
    ChooseAll();
    ASSERT_TRUE(Build(reporter));
    // A later run under the same title: every slot again, one of them as a new kind of file.
    ChooseAll();
    Choose(7, ".jpg", "a new wallpaper");

    EXPECT_TRUE(Build(reporter));
    EXPECT_EQ(reporter.events.back(), StatusDone);
    auto names = ArchiveNames(Archive());
    EXPECT_EQ(names.size(), 41u);
    EXPECT_EQ(names.back(), "idle_wallpaper.jpg");
    // Only the new entry's file goes; what matched an old entry stays, scheme and descriptor too.
    auto left = StagingContents();
    EXPECT_EQ(left.size(), 40u);
    EXPECT_TRUE(std::count(left.begin(), left.end(), "config.spc"));
    EXPECT_TRUE(std::count(left.begin(), left.end(), "SkinScheme.col"));
    EXPECT_FALSE(std::count(left.begin(), left.end(), "idle_wallpaper.jpg"));
    EXPECT_EQ(ArchiveMember(Archive(), "idle_wallpaper.jpg"), "a new wallpaper");
}

TEST_F(ThemeBuild, FailingDescriptorStopsInProgressAndDeletesNothing) {
    ChooseAll();
    fs::create_directory(temp + "/config.spc"); // the staging folder cannot take the descriptor
    const ThemeDocument before = state();
    const auto staged = StagingContents();

    EXPECT_THROW(Build(reporter), InOutError);
    EXPECT_EQ(reporter.events, std::vector<std::string>{std::string(StatusInProgress)});
    auto left = StagingContents();
    EXPECT_TRUE(std::includes(left.begin(), left.end(), staged.begin(), staged.end()));
    EXPECT_TRUE(fs::exists(temp + "/SkinScheme.col")); // the step before stays done
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(state().FilesList, before.FilesList);
    EXPECT_EQ(state().SlotChosen, before.SlotChosen);
}

TEST_F(ThemeBuild, FailedPackLeavesThePackageListAsItWas) {
    struct Case {
        const char* name;
        std::string title;
        std::string outputDir;
        std::string archiveContent; // written beforehand when not empty
        std::string messageStart;
    };
    const Case cases[] = {
        {"not an archive", "Осень", out, "plain text", "Incomplete Zip File"},
        {"missing output folder", "Осень", out + "/missing", "", "Cannot create file \""},
        {"separator in title", "../Осень", out, "", "Cannot create file \""},
    };
    for (const Case& c : cases) {
        NewTheme(c.title);
        ChooseAll();
        if (!c.archiveContent.empty())
            test::WriteFile(Archive(), c.archiveContent);
        options.outputDir = c.outputDir;
        const PackageList before = state().FilesList;
        Recorder recorder;

        try {
            Build(recorder);
            ADD_FAILURE() << c.name << ": packing succeeded";
        } catch (const KestrovaError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.messageStart, 0), 0u)
                << c.name << ": " << error.what();
        }
        EXPECT_EQ(state().FilesList, before) << c.name;
        EXPECT_TRUE(state().AllSlotsChosen()) << c.name;
        EXPECT_EQ(recorder.events, std::vector<std::string>{std::string(StatusInProgress)})
            << c.name;
        EXPECT_TRUE(fs::exists(temp + "/idle_wallpaper.png")) << c.name;
        EXPECT_FALSE(fs::exists(root / "Осень.sdt")) << c.name;
        if (!c.archiveContent.empty()) {
            EXPECT_EQ(test::ReadFile(Archive()), c.archiveContent) << c.name;
        }
        fs::remove(Archive());
    }
}
