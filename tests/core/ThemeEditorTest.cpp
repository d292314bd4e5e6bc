// The theme editor's operations, as the window and kestrova-build call them.

#include "app/ThemeEditor.h"

#include "TestSupport.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

class ThemeEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(temp);
        test::WriteFile(folder / "Ring.MID", "MThd");
        // A log that is never opened fails every write with I/O error 103.
        auto log = std::make_unique<ActivityLog>(folder / "trelvask.log");
        if (openLog)
            log->OpenLog({2008, 3, 5, 7, 4, 9});
        editor = std::make_unique<ThemeEditor>(temp, std::move(log));
        editor->Subscribe([this] { ++changes; });
    }

    std::string Log() const { return test::ReadFile(folder / "trelvask.log"); }

    test::TempFolder folder;
    std::string temp = folder / "temp";
    bool openLog = true;
    std::unique_ptr<ThemeEditor> editor;
    int changes = 0;
};

const std::string Start = "5.3.2008 7:4:9 - program started!\n";

} // namespace

TEST_F(ThemeEditorTest, ChoiceStagesListsLogsAndMarksInThatOrder) {
    const std::string source = folder / "Ring.MID";
    ASSERT_TRUE(editor->ChooseSlotFile(37, source));
    ASSERT_TRUE(editor->ChooseSlotFile(37, source));

    const ThemeDocument& document = editor->Document();
    const std::string staged = temp + "/standard_distlist_ringtone.MID";
    EXPECT_EQ(document.PickedPaths[37], source);
    EXPECT_EQ(document.FilesList, (PackageList{staged, staged}));
    ASSERT_EQ(document.Choices[37].size(), 2u);
    EXPECT_EQ(document.CurrentFile(37)->stagedPath, staged);
    EXPECT_EQ(document.SlotChosen[37], 1);
    EXPECT_EQ(document.SlotChosen[3], 0);
    EXPECT_EQ(test::ReadFile(staged), "MThd");
    const std::string line = "\"" + source + "\" is choosed as standard_distlist_ringtone\n";
    EXPECT_EQ(Log(), Start + line + line);
    EXPECT_EQ(changes, 2);
}

TEST_F(ThemeEditorTest, FailedChoiceKeepsTheStepsBeforeIt) {
    struct Case {
        const char* name;
        std::string source;
        bool breakStaging; // the staging folder is missing
        bool breakLog;     // the log cannot be written
        bool staged;
    };
    const Case cases[] = {
        {"source cannot be opened", folder / "none.mid", false, false, false},
        {"staged file cannot be created", folder / "Ring.MID", true, false, false},
        {"log cannot be written", folder / "Ring.MID", false, true, true},
    };
    for (const Case& c : cases) {
        editor.reset(); // lets go of the log
        changes = 0;
        openLog = !c.breakLog;
        fs::remove_all(temp);
        if (!c.breakStaging)
            fs::create_directories(temp);
        SetUp();
        if (c.breakStaging)
            fs::remove_all(temp);
        const std::string before = fs::exists(folder / "trelvask.log") ? Log() : "";

        EXPECT_THROW(editor->ChooseSlotFile(0, c.source), KestrovaError) << c.name;

        const ThemeDocument& document = editor->Document();
        EXPECT_EQ(document.PickedPaths[0], c.source) << c.name; // the field shows the path
        EXPECT_EQ(document.FilesList.size(), c.staged ? 1u : 0u) << c.name;
        EXPECT_EQ(document.Choices[0].size(), c.staged ? 1u : 0u) << c.name;
        EXPECT_EQ(document.SlotChosen[0], 0) << c.name;
        if (fs::exists(folder / "trelvask.log")) {
            EXPECT_EQ(Log(), before) << c.name;
        }
        EXPECT_EQ(changes, 1) << c.name; // the view still shows what was done
    }
}

TEST_F(ThemeEditorTest, SchemeChoiceIsListedButNeitherLoggedNorMarked) {
    test::WriteFile(folder / "mine.col", "ColourScheme Mine\n");
    editor->SetUseDefaultScheme(false);
    ASSERT_TRUE(editor->ChooseColourScheme(folder / "mine.col"));

    const ThemeDocument& document = editor->Document();
    EXPECT_FALSE(document.Scheme.useDefault);
    EXPECT_EQ(document.Scheme.pickedPath, folder / "mine.col");
    EXPECT_EQ(document.Scheme.stagedPath, temp + "/SkinScheme.col");
    EXPECT_EQ(document.FilesList, PackageList{temp + "/SkinScheme.col"});
    EXPECT_FALSE(document.AllSlotsChosen());
    EXPECT_EQ(Log(), Start);

    // Checking the box again keeps the staged file and its entry.
    editor->SetUseDefaultScheme(true);
    EXPECT_EQ(document.FilesList.size(), 1u);
    EXPECT_EQ(test::ReadFile(temp + "/SkinScheme.col"), "ColourScheme Mine\n");
}

TEST_F(ThemeEditorTest, TextsChangeTheDocumentAndLeavingAFieldLogsIt) {
    editor->SetText(MetadataField::Title, "Осень");
    editor->SetText(MetadataField::Title, "Осень"); // unchanged: no redraw
    EXPECT_EQ(changes, 1);
    editor->LogFieldExit(MetadataField::Title);
    editor->LogFieldExit(MetadataField::Title);
    editor->LogFieldExit(MetadataField::Price);
    EXPECT_EQ(editor->Document().Metadata.Title, "Осень");
    EXPECT_EQ(Log(), Start + "The Name of theme change to Осень\n"
                             "The Name of theme change to Осень\n"
                             "The Price of theme change to 0\n");
}

TEST_F(ThemeEditorTest, ChoicesAreRefusedWhileABuildRuns) {
    for (int slot = 0; slot < SlotCount; ++slot)
        editor->ChooseSlotFile(slot, folder / "Ring.MID");
    editor->SetText(MetadataField::Title, "Busy");
    struct Refusals : BuildReporter {
        ThemeEditor* editor;
        std::string source;
        bool refused = false;
        void SetStatus(BuildStatus status) override {
            if (status == BuildStatus::InProgress)
                refused = !editor->ChooseSlotFile(7, source) && !editor->ChooseColourScheme(source);
        }
        void SetProgress(int) override {}
    } reporter;
    reporter.editor = editor.get();
    reporter.source = folder / "Ring.MID";
    BuildOptions options{folder.Path().string(), {}};

    EXPECT_TRUE(editor->Build(options, reporter));
    EXPECT_TRUE(reporter.refused);
    EXPECT_FALSE(editor->Building());
    EXPECT_TRUE(fs::exists(folder / "Busy.sdt"));
}

namespace {

// The entries of an archive as Python's zipfile sees them: name, time, attributes, CRC, method.
std::string ArchiveListing(const std::string& archive) {
    auto result = test::Run("/usr/bin/python3 -c 'import sys, zipfile\n"
                            "z = zipfile.ZipFile(sys.argv[1], metadata_encoding=\"cp866\")\n"
                            "assert z.testzip() is None\n"
                            "for i in z.infolist():\n"
                            "    print(i.filename, i.date_time, i.external_attr, i.internal_attr,\n"
                            "          i.compress_type, i.CRC, i.file_size)' " +
                            test::ShellQuote(archive));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

std::string Member(const std::string& archive, const std::string& name) {
    auto result = test::Run("/usr/bin/python3 -c 'import sys, zipfile\n"
                            "z = zipfile.ZipFile(sys.argv[1])\n"
                            "sys.stdout.buffer.write(z.read(sys.argv[2]))' " +
                            test::ShellQuote(archive) + " " + test::ShellQuote(name));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
}

struct QuietReporter : BuildReporter {
    void SetStatus(BuildStatus) override {}
    void SetProgress(int) override {}
};

} // namespace

TEST_F(ThemeEditorTest, AnOpenedThemeBuildsAgainByteForByte) {
    test::ScopedTimeZone zone("UTC");
    fs::create_directories(folder / "media");
    fs::create_directories(folder / "first");
    fs::create_directories(folder / "again");
    // All 38 slots in a shuffled order, a custom scheme between them, texts that need escaping.
    std::vector<int> order;
    for (int slot = 0; slot < SlotCount; ++slot)
        order.push_back((slot * 17 + 5) % SlotCount);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int slot = order[i];
        const std::string source = folder / ("media/" + std::to_string(slot) + ".bin");
        test::WriteFile(source, "slot " + std::to_string(slot) + std::string(slot * 100, 'x'));
        test::SetLocalMTime(source, 2020, 1, 2, 3, 4, 6 + 2 * int(i % 20));
        editor->ChooseSlotFile(slot, source);
        if (i == 20) {
            std::string scheme(DefaultColourScheme);
            scheme.replace(scheme.find("DeepBlue"), 8, "Mine0000");
            test::WriteFile(folder / "media/mine.col", scheme);
            test::SetLocalMTime(folder / "media/mine.col", 2021, 6, 7, 8, 9, 10);
            editor->SetUseDefaultScheme(false);
            editor->ChooseColourScheme(folder / "media/mine.col");
        }
    }
    editor->SetText(MetadataField::Title, "Осень \"<&\"");
    editor->SetText(MetadataField::Author, "Морвейн & Co <tm>");
    editor->SetText(MetadataField::Published, "2007-7-30");
    QuietReporter reporter;
    ASSERT_TRUE(editor->Build({folder / "first", {}}, reporter));
    const std::string first = folder / "first/Осень \"<&\".sdt";

    // Another run, another staging folder: the theme is opened and built again as it is.
    const std::string otherTemp = folder / "temp2";
    fs::create_directories(otherTemp);
    ThemeEditor reopened(otherTemp);
    const std::optional<OpenedTheme> opened = reopened.OpenTheme(first);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->AllPlaced());
    EXPECT_TRUE(reopened.Document().AllSlotsChosen());
    EXPECT_FALSE(reopened.Document().Scheme.useDefault);
    EXPECT_EQ(reopened.Document().Scheme.pickedPath, first + "/SkinScheme.col");
    EXPECT_EQ(reopened.Document().PickedPaths[7], first + "/idle_wallpaper.bin");
    EXPECT_EQ(reopened.Document().Metadata.Author, "Морвейн & Co <tm>");
    ASSERT_TRUE(reopened.Build({folder / "again", {}}, reporter));
    const std::string again = folder / "again/Осень \"<&\".sdt";

    EXPECT_EQ(ArchiveListing(again), ArchiveListing(first));
    EXPECT_EQ(Member(again, "config.spc"), Member(first, "config.spc"));
    EXPECT_EQ(Member(again, "SkinScheme.col"), Member(first, "SkinScheme.col"));
    EXPECT_EQ(Member(again, "preview_animation.bin"), Member(first, "preview_animation.bin"));
}

TEST_F(ThemeEditorTest, AHostileArchiveLeavesTheThemeAsItWas) {
    const std::string archives = folder / "archives";
    auto made = test::Run("/usr/bin/python3 " KESTROVA_TEST_TOOLS "/make_test_archives.py " +
                          test::ShellQuote(archives));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    editor->ChooseSlotFile(0, folder / "Ring.MID");
    editor->SetText(MetadataField::Title, "Mine");
    const ThemeDocument before = editor->Document();
    const std::string log = Log();

    for (const char* name : {"dotdot", "absolute", "folder", "bomb", "crc", "truncated-entry",
                             "encrypted", "not-zip"}) {
        const std::string archive = archives + "/" + name + ".sdt";
        EXPECT_THROW(editor->OpenTheme(archive), KestrovaError) << name;
        EXPECT_EQ(editor->Document().FilesList, before.FilesList) << name;
        EXPECT_EQ(editor->Document().PickedPaths, before.PickedPaths) << name;
        EXPECT_EQ(editor->Document().Metadata.Title, "Mine") << name;
        EXPECT_EQ(Log(), log) << name;
    }
    // Nothing was written anywhere but where it was before.
    EXPECT_FALSE(fs::exists(folder / "x"));
    EXPECT_FALSE(fs::exists("/tmp/x") && test::ReadFile("/tmp/x") == "outside");
    std::vector<std::string> staged;
    for (const auto& entry : fs::directory_iterator(temp))
        staged.push_back(entry.path().filename().string());
    EXPECT_EQ(staged, std::vector<std::string>{"standard_ringtone.MID"});
}

TEST_F(ThemeEditorTest, AThemeWithoutADescriptorOpensByItsNames) {
    const std::string archives = folder / "archives";
    auto made = test::Run("/usr/bin/python3 " KESTROVA_TEST_TOOLS "/make_test_archives.py " +
                          test::ShellQuote(archives));
    ASSERT_EQ(made.exitCode, 0) << made.output;

    const std::optional<OpenedTheme> opened =
        editor->OpenTheme(archives + "/descriptor-not-xml.sdt");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->descriptor, DescriptorStatus::Unreadable);
    EXPECT_FALSE(opened->descriptorProblem.empty());
    EXPECT_EQ(opened->emptySlots.size(), std::size_t(SlotCount - 1));
    EXPECT_EQ(opened->lastPicture, 7);
    const ThemeDocument& document = editor->Document();
    EXPECT_EQ(document.Metadata.Title, "descriptor-not-xml");
    EXPECT_EQ(document.FilesList, PackageList{temp + "/idle_wallpaper.jpg"});
    EXPECT_EQ(document.SlotChosen[7], 1);
    EXPECT_TRUE(document.Scheme.useDefault);
    const std::string shown = archives + "/descriptor-not-xml.sdt/idle_wallpaper.jpg";
    EXPECT_NE(Log().find("\"" + shown + "\" is choosed as idle_wallpaper\n"), std::string::npos);
}
