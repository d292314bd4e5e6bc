#pragma once
// The editor's main window: the theme's texts, one field per slot on three pages with the
// phone-screen preview, the colour scheme, "Создать тему", the status bar and the progress bar.

#include "Captions.h"
#include "app/FolderLayout.h"
#include "app/ThemeEditor.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>

class ClickLabel;
class QAction;
class QMenu;
class QMenuBar;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class SlotField;
class ThemeOverview;
class UserDialogs;
enum class Language;

inline constexpr int ClientWidth = 946;
inline constexpr int ClientHeight = 510;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    /// programFolder ends with a separator: the staging folder "temp", descr.ini and the
    /// archives live there. FormCreate runs before the constructor returns.
    TForm1(UserDialogs& dialogs, QString programFolder, QWidget* parent = nullptr);
    /// Where descr.ini, help.chm, the staging folder, the archives and the log are.
    TForm1(UserDialogs& dialogs, FolderLayout layout, QWidget* parent = nullptr);
    /// Runs FormDestroy.
    ~TForm1() override;

    const ThemeDocument& State() const { return editor_.Document(); }
    ThemeEditor& Editor() { return editor_; }
    UserDialogs& Dialogs() { return dialogs_; }
    bool Building() const { return building_; }
    QString StatusText() const;
    /// Panel 0 of the status bar; text is asked again when the language changes.
    void ShowStatus(std::function<QString()> text);
    /// The overview window, once "Обзор темы…" has opened it.
    ThemeOverview* Overview() const { return overview_; }
    /// Brings the first element without a file into view in the overview, if it is open.
    void ShowFirstMissing();
    /// Shows the document: texts, slot fields, the scheme group. Runs after every change.
    void Refresh();

    void FormCreate();
    void FormDestroy();
    void TCButtonClick();
    void CheckBox1Click();
    void SpeedButton2Click();
    void ChooseMelodyClick(QLineEdit* field);
    void ChoosePictureClick(QLineEdit* field);
    void TNEditExit();
    void TAEditExit();
    void TDEditExit();
    void TVEditExit();
    void TVendEditExit();
    void TPEditExit();
    void TUEditExit();
    void OpenThemeClick();
    /// Opens a theme archive in place of the current theme, asking first when that holds work.
    void OpenThemeFile(const QString& path);
    void OverviewClick();
    void ColourSchemeClick();
    void ThemesFolderClick();
    void N6Click();
    void N10Click();
    void N11Click();
    /// Puts the window in language at once and remembers the choice for the next run.
    void LanguageClick(Language language);
    void Image3Click();
    void Image4Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void AddPage(QWidget* page, const char* caption);
    QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption);
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, void (TForm1::*handler)());
    void CreateMenu();
    void CreateLanguageMenu(QMenuBar* bar);
    void CreateSettingsPage(QWidget* page);
    void CreateSlotPages();
    void CreateColourSchemeGroup(QWidget* client);
    void CreateFooter(QWidget* client);
    void SetFocusOrder();
    void Guarded(void (TForm1::*handler)());
    /// Asks for the slot's file and takes it. False when nothing was chosen.
    bool ChooseSlotFile(int slot);
    /// The choice of a file for a slot, wherever it came from: the editor's steps, then the
    /// preview for a picture. Refused while a build runs.
    void TakeSlotFile(int slot, const QString& path);
    /// The choice of a custom scheme file: the check box is cleared and the file staged.
    void TakeColourScheme(const QString& path);
    /// Says in the status bar when the staged scheme breaks the format the phone expects.
    void WarnAboutScheme(const QString& path);
    void ShowInPreview(int slot);
    /// What a double-click on the slot's field does.
    void SlotFieldDoubleClick(int slot);
    void RefreshOverview();
    void EndBuild();
    /// The descriptions of the language shown, in the slot fields' hints and in descriptions_.
    void ReadDescriptions();
    void CheckLanguageItem();

    Captions captions_{"TForm1"};
    UserDialogs& dialogs_;
    FolderLayout layout_;
    /// Where the slot dialogs open: the program's folder, or the home folder of an installed copy.
    QString dialogFolder_;
    ThemeEditor editor_;
    std::array<QString, SlotCount> descriptions_;
    /// From the click on "Создать тему" until the input that waited during packing is handled.
    bool building_ = false;
    bool closePending_ = false;
    std::function<QString()> status_;
    ThemeOverview* overview_ = nullptr;
    QString lastMelodyFile_;
    QString lastPictureFile_;
    QString lastSchemeFile_;
    QString lastThemeFile_;

    QTabWidget* TabbedNotebook1 = nullptr;
    QLineEdit* TNEdit = nullptr;
    QLineEdit* TAEdit = nullptr;
    QLineEdit* TDEdit = nullptr;
    QLineEdit* TVEdit = nullptr;
    QLineEdit* TREdit = nullptr;
    QLineEdit* TVendEdit = nullptr;
    QLineEdit* TPEdit = nullptr;
    QLineEdit* TUEdit = nullptr;
    /// The metadata fields in MetadataField order.
    std::array<QLineEdit*, MetadataFieldCount> metadataEdits_{};
    std::array<SlotField*, SlotCount> slotFields_{};
    QFrame* Panel2 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* TCButton = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* CSEdit = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel0_ = nullptr;
    QAction* russianItem_ = nullptr;
    QAction* englishItem_ = nullptr;
};
