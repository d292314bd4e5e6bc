#pragma once
// "Цветовая схема…": the 60 rows of a scheme as swatches with their four numbers, its name,
// opening and saving .col files, and handing the saved file to the theme.

#include "package/ColourSchemeFile.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string_view>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class UserDialogs;

class ColourSchemeWindow : public QDialog {
    Q_OBJECT
public:
    /// Called with the path of a saved file that holds exactly the scheme shown.
    using UseInTheme = std::function<void(const QString& savedPath)>;

    /// Opens on a scheme's bytes (the built-in one, the staged one, a theme's); what in them
    /// breaks the format is listed below the rows.
    ColourSchemeWindow(UserDialogs& dialogs, std::string_view schemeBytes, UseInTheme useInTheme,
                       QWidget* parent = nullptr);

    const ColourSchemeModel& Scheme() const { return scheme_; }
    /// The file that holds the scheme as shown; empty once it is changed.
    QString SavedPath() const { return savedPath_; }

    void OpenClick();
    void DefaultClick();
    /// False when the user cancels the dialog.
    bool SaveAsClick();
    /// Saves first when the scheme shown is in no file yet.
    void UseInThemeClick();
    void ChooseRowColour(int row);

private:
    void Guarded(const std::function<void()>& handler);
    void Show(const ColourSchemeReading& reading);
    void Changed();
    void Refresh();
    void NameEdited(const QString& text);
    void CellEdited(QTableWidgetItem* item);

    UserDialogs& dialogs_;
    UseInTheme useInTheme_;
    ColourSchemeModel scheme_;
    QStringList problems_;
    QString savedPath_;
    QString lastFile_;
    bool refreshing_ = false;

    QLineEdit* nameEdit_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QLabel* lengthAndCrc_ = nullptr;
    QLabel* problemsCaption_ = nullptr;
    QListWidget* problemsList_ = nullptr;
    QPushButton* saveAsButton_ = nullptr;
    QPushButton* useButton_ = nullptr;
};
