// The theme editor's operations, as the window and kestrova-build call them.

#include "app/ThemeEditor.h"

#include "TestSupport.h"
#include "package/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>

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
