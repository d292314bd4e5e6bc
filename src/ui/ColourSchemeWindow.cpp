#include "ColourSchemeWindow.h"

#include "ColourSchemeProblems.h"
#include "ErrorBox.h"
#include "FileFilters.h"
#include "UserDialogs.h"
#include "WindowFont.h"
#include "package/CodePage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>

namespace {

enum Column { SwatchColumn, RedColumn, GreenColumn, BlueColumn, FourthColumn, ColumnCount };

QString ThreeDigits(int value) {
    return QString("%1").arg(value, 3, 10, QChar('0'));
}

int MaxOfColumn(int column) {
    return column == FourthColumn ? 999 : 255;
}

// Numbers are typed into a spin box that knows each column's range.
class NumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* box = new QSpinBox(parent);
        box->setObjectName("NumberEditor");
        box->setRange(0, MaxOfColumn(index.column()));
        box->setFrame(false);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QSpinBox*>(editor)->setValue(index.data().toString().toInt());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* box = static_cast<QSpinBox*>(editor);
        box->interpretText();
        model->setData(index, ThreeDigits(box->value()));
    }
};

// The file holds the name in one byte a character: a character Windows-1251 lacks, or a control
// character, would break it.
class SchemeNameValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        for (QChar c : input)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                return Invalid;
        return FromUtf8(input.toStdString(), CodePage::Windows1251).unconvertible.empty()
                   ? Acceptable
                   : Invalid;
    }
};

int ComponentOf(const ColourSchemeRow& row, int column) {
    switch (column) {
    case RedColumn:
        return row.Red;
    case GreenColumn:
        return row.Green;
    case BlueColumn:
        return row.Blue;
    default:
        return row.Fourth;
    }
}

void SetComponent(ColourSchemeRow& row, int column, int value) {
    switch (column) {
    case RedColumn:
        row.Red = std::uint8_t(value);
        break;
    case GreenColumn:
        row.Green = std::uint8_t(value);
        break;
    case BlueColumn:
        row.Blue = std::uint8_t(value);
        break;
    default:
        row.Fourth = std::uint16_t(value);
    }
}

QPushButton* AddButton(QHBoxLayout* row, const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

ColourSchemeWindow::ColourSchemeWindow(UserDialogs& dialogs, std::string_view schemeBytes,
                                       UseInTheme useInTheme, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), useInTheme_(std::move(useInTheme)) {
    setObjectName("ColourSchemeWindow");
    setWindowTitle(tr("Цветовая схема"));
    setFont(WindowFont());
    auto* column = new QVBoxLayout(this);

    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(tr("Имя схемы:"));
    nameEdit_ = new QLineEdit;
    nameEdit_->setObjectName("NameEdit");
    nameEdit_->setValidator(new SchemeNameValidator(nameEdit_));
    nameLabel->setBuddy(nameEdit_);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit_);
    column->addLayout(nameRow);
    connect(nameEdit_, &QLineEdit::textEdited, this, &ColourSchemeWindow::NameEdited);

    rows_ = new QTableWidget(ColourSchemeRowCount, ColumnCount);
    rows_->setObjectName("RowsTable");
    rows_->setHorizontalHeaderLabels(
        {tr("Цвет"), tr("Красный"), tr("Зелёный"), tr("Синий"), tr("Четвёртое")});
    rows_->setItemDelegate(new NumberDelegate(rows_));
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    rows_->verticalHeader()->setDefaultSectionSize(18);
    rows_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    rows_->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < ColourSchemeRowCount; ++row) {
        auto* swatch = new QTableWidgetItem;
        // Not editable, as a double-click opens the colour dialog, and not selectable, as the
        // selection's colour would hide the swatch's.
        swatch->setFlags(Qt::ItemIsEnabled);
        swatch->setToolTip(tr("Двойной щелчок — выбрать цвет"));
        rows_->setItem(row, SwatchColumn, swatch);
        for (int number = RedColumn; number < ColumnCount; ++number) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            rows_->setItem(row, number, item);
        }
    }
    rows_->setMinimumWidth(rows_->horizontalHeader()->length() +
                           rows_->verticalHeader()->sizeHint().width() + 24);
    rows_->setMinimumHeight(16 * 18);
    column->addWidget(rows_);
    connect(rows_, &QTableWidget::itemChanged, this, &ColourSchemeWindow::CellEdited);
    connect(rows_, &QTableWidget::cellDoubleClicked, this, [this](int row, int cell) {
        if (cell == SwatchColumn)
            Guarded([this, row] { ChooseRowColour(row); });
    });

    lengthAndCrc_ = new QLabel;
    lengthAndCrc_->setObjectName("LengthAndCrc");
    column->addWidget(lengthAndCrc_);
    problemsCaption_ = new QLabel(tr("Что не так в схеме:"));
    problemsCaption_->setObjectName("ProblemsCaption");
    column->addWidget(problemsCaption_);
    problemsList_ = new QListWidget;
    problemsList_->setObjectName("ProblemsList");
    problemsList_->setMaximumHeight(5 * 18);
    column->addWidget(problemsList_);

    auto* buttons = new QHBoxLayout;
    auto* open = AddButton(buttons, "OpenButton", tr("Открыть…"));
    auto* reset = AddButton(buttons, "DefaultButton", tr("По умолчанию"));
    saveAsButton_ = AddButton(buttons, "SaveAsButton", tr("Сохранить как…"));
    useButton_ = AddButton(buttons, "UseInThemeButton", tr("Использовать в теме"));
    auto* close = AddButton(buttons, "CloseButton", tr("Закрыть"));
    column->addLayout(buttons);
    connect(open, &QPushButton::clicked, this, [this] { Guarded([this] { OpenClick(); }); });
    connect(reset, &QPushButton::clicked, this, [this] { Guarded([this] { DefaultClick(); }); });
    connect(saveAsButton_, &QPushButton::clicked, this,
            [this] { Guarded([this] { SaveAsClick(); }); });
    connect(useButton_, &QPushButton::clicked, this,
            [this] { Guarded([this] { UseInThemeClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    Show(ReadColourScheme(schemeBytes));
}

void ColourSchemeWindow::Guarded(const std::function<void()>& handler) {
    RunHandler(dialogs_, this, handler);
}

void ColourSchemeWindow::Show(const ColourSchemeReading& reading) {
    scheme_ = reading.Scheme;
    problems_.clear();
    for (const SchemeProblem& problem : reading.Problems)
        problems_.append(ColourSchemeProblemText(reading, problem));
    Refresh();
}

void ColourSchemeWindow::Changed() {
    savedPath_.clear();
    Refresh();
}

void ColourSchemeWindow::Refresh() {
    refreshing_ = true;
    const QString name = QString::fromStdString(ToUtf8(scheme_.Name, CodePage::Windows1251));
    // Rewriting the text the user is typing would move the cursor to its end.
    if (nameEdit_->text() != name)
        nameEdit_->setText(name);
    for (int row = 0; row < ColourSchemeRowCount; ++row) {
        const ColourSchemeRow& values = scheme_.Rows[std::size_t(row)];
        rows_->item(row, SwatchColumn)
            ->setBackground(QColor(values.Red, values.Green, values.Blue));
        for (int number = RedColumn; number < ColumnCount; ++number)
            rows_->item(row, number)->setText(ThreeDigits(ComponentOf(values, number)));
    }
    const std::string data = ColourSchemeDataLines(scheme_);
    lengthAndCrc_->setText(tr("Length %1, CRC %2").arg(data.size()).arg(ColourSchemeCrc(data)));
    problemsList_->clear();
    problemsList_->addItems(problems_);
    problemsCaption_->setVisible(!problems_.isEmpty());
    problemsList_->setVisible(!problems_.isEmpty());
    // Without a name the file would not follow the format.
    saveAsButton_->setEnabled(!scheme_.Name.empty());
    useButton_->setEnabled(!scheme_.Name.empty());
    refreshing_ = false;
}

void ColourSchemeWindow::NameEdited(const QString& text) {
    scheme_.Name = FromUtf8(text.toStdString(), CodePage::Windows1251).bytes;
    Changed();
}

void ColourSchemeWindow::CellEdited(QTableWidgetItem* item) {
    if (refreshing_ || item->column() == SwatchColumn)
        return;
    bool number = false;
    const int value = item->text().toInt(&number);
    // Anything else typed is put back as it was.
    if (!number || value < 0 || value > MaxOfColumn(item->column())) {
        Refresh();
        return;
    }
    SetComponent(scheme_.Rows[std::size_t(item->row())], item->column(), value);
    Changed();
}

void ColourSchemeWindow::ChooseRowColour(int row) {
    ColourSchemeRow& values = scheme_.Rows[std::size_t(row)];
    const QColor chosen = dialogs_.ChooseColour(this, QColor(values.Red, values.Green, values.Blue),
                                                tr("Цвет строки %1").arg(row + 1));
    if (!chosen.isValid())
        return;
    values.Red = std::uint8_t(chosen.red());
    values.Green = std::uint8_t(chosen.green());
    values.Blue = std::uint8_t(chosen.blue());
    Changed();
}

void ColourSchemeWindow::OpenClick() {
    FileRequest request;
    request.title = tr("Открыть цветовую схему");
    request.filters = ColourSchemeFilters();
    request.lastFile = lastFile_;
    request.mustExist = true;
    const QString chosen = dialogs_.ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    const std::string bytes = ReadColourSchemeBytes(chosen.toStdString());
    lastFile_ = chosen;
    const ColourSchemeReading reading = ReadColourScheme(bytes);
    // Only a file that is exactly what saving would write can go to the theme as it is.
    savedPath_ = WriteColourScheme(reading.Scheme) == bytes ? chosen : QString();
    Show(reading);
}

void ColourSchemeWindow::DefaultClick() {
    ColourSchemeReading deepBlue;
    deepBlue.Scheme = DefaultColourSchemeModel();
    savedPath_.clear();
    Show(deepBlue);
}

bool ColourSchemeWindow::SaveAsClick() {
    FileRequest request;
    request.title = tr("Сохранить цветовую схему");
    request.filters = ColourSchemeFilters();
    request.defaultSuffix = "col";
    request.lastFile =
        lastFile_.isEmpty()
            ? QString::fromStdString(ToUtf8(scheme_.Name, CodePage::Windows1251)) + ".col"
            : lastFile_;
    const QString chosen = dialogs_.ChooseSaveFile(this, request);
    if (chosen.isEmpty())
        return false;
    SaveColourSchemeFile(chosen.toStdString(), WriteColourScheme(scheme_));
    lastFile_ = chosen;
    savedPath_ = chosen;
    // The file saved follows the format, whatever the one opened got wrong.
    problems_.clear();
    Refresh();
    return true;
}

void ColourSchemeWindow::UseInThemeClick() {
    if (savedPath_.isEmpty() && !SaveAsClick())
        return;
    if (useInTheme_)
        useInTheme_(savedPath_);
}
