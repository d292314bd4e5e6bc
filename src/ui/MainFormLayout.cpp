// The main window's controls, placed in pixels as the window was drawn at 96 dpi.

#include "ClickLabel.h"
#include "DropTarget.h"
#include "ErrorBox.h"
#include "MainForm.h"
#include "PlaceLabel.h"
#include "SlotField.h"
#include "Translations.h"
#include "WindowFont.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

// Slot fields of the pictures page: the left column, then the right one, top to bottom.
constexpr std::array<int, 13> PictureLeftColumn{6, 7, 8, 9, 11, 12, 14, 15, 16, 18, 19, 20, 21};
constexpr std::array<int, 13> PictureRightColumn{22, 23, 24, 25, 27, 28, 29,
                                                 30, 31, 32, 33, 34, 35};
constexpr std::array<int, 5> MelodyRows{0, 1, 2, 3, 37};
constexpr std::array<int, 7> AnimationRows{4, 5, 10, 17, 26, 13, 36};
// The animation page's focus order climbs back from the last rows.
constexpr std::array<int, 7> AnimationFocusOrder{4, 5, 10, 13, 36, 26, 17};

QLineEdit* PlaceEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    return edit;
}

} // namespace

void TForm1::AddPage(QWidget* page, const char* caption) {
    const int index = TabbedNotebook1->addTab(page, QString());
    captions_.Bind(
        caption, [this, index](const QString& text) { TabbedNotebook1->setTabText(index, text); });
}

QMenu* TForm1::AddMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString());
    menu->setObjectName(name);
    captions_.Bind(caption, [menu](const QString& text) { menu->setTitle(text); });
    return menu;
}

QAction* TForm1::AddItem(QMenu* menu, const char* name, const char* caption,
                         void (TForm1::*handler)()) {
    QAction* item = menu->addAction(QString());
    item->setObjectName(name);
    captions_.Bind(caption, [item](const QString& text) { item->setText(text); });
    connect(item, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    return item;
}

void TForm1::CreateControls() {
    setObjectName("Form1");
    captions_.Bind(QT_TR_NOOP("Benq-Siemens EL71 Kestrova by Morvane (beta version)"),
                   [this](const QString& text) { setWindowTitle(text); });
    setFont(WindowFont());
    setWindowIcon(QIcon(":/kestrova/kestrova.png"));
    // Fixed size, minimisable, never maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    CreateMenu();

    auto* panel1 = new QFrame(client);
    panel1->setObjectName("Panel1");
    panel1->setGeometry(10, 8, 174, 311);
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setLineWidth(5);
    auto* inner = new QFrame(panel1);
    inner->setGeometry(5, 5, 164, 301);
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    inner->setLineWidth(5);
    auto* image1 = new QLabel(panel1);
    image1->setObjectName("Image1");
    image1->setGeometry(10, 10, 154, 291);
    image1->setPixmap(QPixmap(":/kestrova/phone.png"));

    TCButton = new QPushButton(client);
    captions_.Bind(QT_TR_NOOP("Создать тему"),
                   [this](const QString& text) { TCButton->setText(text); });
    TCButton->setObjectName("TCButton");
    TCButton->setGeometry(8, 328, 177, 49);
    connect(TCButton, &QPushButton::clicked, this, [this] { Guarded(&TForm1::TCButtonClick); });

    CreateColourSchemeGroup(client);

    struct Banner {
        const char* name;
        const char* picture;
        const char* hint;
        int y;
        void (TForm1::*click)();
    };
    for (const Banner& banner :
         {Banner{"Image3", ":/kestrova/banner-site.png", QT_TR_NOOP("Сайт автора"), 392,
                 &TForm1::Image3Click},
          Banner{"Image4", ":/kestrova/banner-fanclub.png", QT_TR_NOOP("Фан-клуб e/el71"), 430,
                 &TForm1::Image4Click}}) {
        auto* image = new ClickLabel(client);
        image->setObjectName(banner.name);
        image->setGeometry(848, banner.y, 88, 31);
        image->setPixmap(QPixmap(banner.picture));
        image->setCursor(Qt::PointingHandCursor);
        captions_.Bind(banner.hint, [image](const QString& text) { image->setToolTip(text); });
        connect(image, &ClickLabel::Clicked, this,
                [this, click = banner.click] { Guarded(click); });
    }

    TabbedNotebook1 = new QTabWidget(client);
    TabbedNotebook1->setObjectName("TabbedNotebook1");
    TabbedNotebook1->setGeometry(192, 8, 745, 369);
    TabbedNotebook1->setUsesScrollButtons(false);
    auto* settings = new QWidget;
    settings->setObjectName("Page1");
    AddPage(settings, QT_TR_NOOP("Настройки"));
    CreateSettingsPage(settings);
    CreateSlotPages();

    CreateFooter(client);
    SetFocusOrder();
    // A theme dropped anywhere else on the window opens.
    new DropTarget(
        client, [](const QString& path) { return HasExtension(path, ".sdt"); },
        [this](const QString& path) { RunHandler(dialogs_, this, [&] { OpenThemeFile(path); }); });
}

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    QMenu* file = AddMenu(bar, "FileMenu", QT_TR_NOOP("&Файл"));
    AddItem(file, "N6", QT_TR_NOOP("&Выход"), &TForm1::N6Click);

    QMenu* theme = AddMenu(bar, "ThemeMenu", QT_TR_NOOP("&Тема"));
    AddItem(theme, "OpenThemeItem", QT_TR_NOOP("&Открыть тему…"), &TForm1::OpenThemeClick)
        ->setShortcut(QKeySequence::Open);
    theme->addSeparator();
    AddItem(theme, "OverviewItem", QT_TR_NOOP("Обзор темы…"), &TForm1::OverviewClick)
        ->setShortcut(Qt::Key_F5);
    AddItem(theme, "ColourSchemeItem", QT_TR_NOOP("Цветовая схема…"), &TForm1::ColourSchemeClick);
    theme->addSeparator();
    AddItem(theme, "ThemesFolderItem", QT_TR_NOOP("Папка с темами"), &TForm1::ThemesFolderClick);

    CreateLanguageMenu(bar);

    QMenu* help = AddMenu(bar, "HelpButton", QT_TR_NOOP("С&правка"));
    AddItem(help, "N10", QT_TR_NOOP("Помощь"), &TForm1::N10Click);
    AddItem(help, "N11", QT_TR_NOOP("О программе"), &TForm1::N11Click);
}

void TForm1::CreateLanguageMenu(QMenuBar* bar) {
    QMenu* menu = AddMenu(bar, "LanguageMenu", QT_TR_NOOP("&Язык"));
    auto* group = new QActionGroup(menu);
    auto addItem = [&](const char* name, const char* caption, Language language) {
        // Each language is named in its own tongue, whichever one the window speaks.
        QAction* item = menu->addAction(QString::fromUtf8(caption));
        item->setObjectName(name);
        item->setCheckable(true);
        group->addAction(item);
        connect(item, &QAction::triggered, this,
                [this, language] { RunHandler(dialogs_, this, [&] { LanguageClick(language); }); });
        return item;
    };
    russianItem_ = addItem("RussianItem", "Русский", Language::Russian);
    englishItem_ = addItem("EnglishItem", "English", Language::English);
    CheckLanguageItem();
}

void TForm1::CreateSettingsPage(QWidget* page) {
    // In MetadataField order; the document gives the texts.
    struct Field {
        const char* label;
        const char* labelName;
        const char* name;
        QLineEdit** edit;
        int x, y;
    };
    const Field fields[] = {
        {QT_TR_NOOP("Название:"), "Label1", "TNEdit", &TNEdit, 16, 24},
        {QT_TR_NOOP("Автор:"), "Label2", "TAEdit", &TAEdit, 16, 96},
        {QT_TR_NOOP("Дата создания:"), "Label3", "TDEdit", &TDEdit, 16, 168},
        {QT_TR_NOOP("Версия темы:"), "Label4", "TVEdit", &TVEdit, 240, 24},
        {QT_TR_NOOP("Разрешение"), "Label5", "TREdit", &TREdit, 240, 96},
        {QT_TR_NOOP("Продавец:"), "Label6", "TVendEdit", &TVendEdit, 240, 168},
        {QT_TR_NOOP("Цена:"), "Label7", "TPEdit", &TPEdit, 472, 24},
        {QT_TR_NOOP("URL:"), "Label8", "TUEdit", &TUEdit, 472, 96},
    };
    static_assert(std::size(fields) == MetadataFieldCount);
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const Field& field = fields[i];
        QLabel* label = PlaceLabel(page, field.labelName, QString(), field.x, field.y);
        captions_.Bind(field.label, [label](const QString& text) { SetCaption(label, text); });
        QLineEdit* edit =
            PlaceEdit(page, field.name, QString(), QRect(field.x, field.y + 24, 161, 21));
        edit->installEventFilter(this);
        const MetadataField which = MetadataFields[i].field;
        connect(edit, &QLineEdit::textChanged, this,
                [this, which](const QString& text) { editor_.SetText(which, text.toStdString()); });
        *field.edit = edit;
        metadataEdits_[i] = edit;
    }
    TREdit->setReadOnly(true);
    QPalette palette = TREdit->palette();
    palette.setColor(QPalette::Base, QColor(200, 200, 200)); // the system's scroll-bar grey
    TREdit->setPalette(palette);
}

void TForm1::CreateSlotPages() {
    auto makeField = [this](QWidget* page, int slot, QRect geometry) {
        auto* field = new SlotField(page);
        field->setObjectName(QString::fromStdString(SlotFieldName(slot)));
        field->setText(field->objectName());
        field->setGeometry(geometry);
        connect(field, &SlotField::DoubleClicked, this,
                [this, slot] { SlotFieldDoubleClick(slot); });
        // A file dropped on the field is a choice of it, as the dialog would make it; a theme
        // goes on to the window, which opens it.
        new DropTarget(
            field, [](const QString& path) { return !HasExtension(path, ".sdt"); },
            [this, slot](const QString& path) {
                RunHandler(dialogs_, this, [&] { TakeSlotFile(slot, path); });
            });
        slotFields_[slot] = field;
    };

    auto* melodies = new QWidget;
    melodies->setObjectName("Page2");
    for (std::size_t row = 0; row < MelodyRows.size(); ++row)
        makeField(melodies, MelodyRows[row], QRect(8, 32 + 64 * int(row), 697, 21));
    AddPage(melodies, QT_TR_NOOP("Мелодии"));

    auto* pictures = new QWidget;
    pictures->setObjectName("Page3");
    for (std::size_t row = 0; row < PictureLeftColumn.size(); ++row) {
        makeField(pictures, PictureLeftColumn[row], QRect(8, 16 + 24 * int(row), 225, 21));
        makeField(pictures, PictureRightColumn[row], QRect(248, 16 + 24 * int(row), 225, 21));
    }
    Panel2 = new QFrame(pictures);
    Panel2->setObjectName("Panel2");
    Panel2->setGeometry(480, 5, 250, 330);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setLineWidth(1);
    Panel2->setAutoFillBackground(true);
    QPalette grey = Panel2->palette();
    grey.setColor(QPalette::Window, QColor(160, 160, 164));
    Panel2->setPalette(grey);
    Image2 = new QLabel(Panel2);
    Image2->setObjectName("Image2");
    Image2->setGeometry(5, 5, 240, 320);
    // Drawn at its own size from the top-left corner; the rest is cut off.
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->setScaledContents(false);
    AddPage(pictures, QT_TR_NOOP("Картинки"));

    auto* animations = new QWidget;
    animations->setObjectName("Page4");
    for (std::size_t row = 0; row < AnimationRows.size(); ++row)
        makeField(animations, AnimationRows[row], QRect(16, 24 + 40 * int(row), 689, 21));
    AddPage(animations, QT_TR_NOOP("Анимация"));
}

void TForm1::CreateColourSchemeGroup(QWidget* client) {
    auto* group = new QGroupBox(client);
    captions_.Bind(QT_TR_NOOP("Цветовая схема"),
                   [group](const QString& text) { group->setTitle(text); });
    group->setObjectName("GroupBox3");
    group->setGeometry(8, 384, 833, 81);
    CheckBox1 = new QCheckBox(group);
    captions_.Bind(QT_TR_NOOP("Использовать цветовую схему по умолчанию (из темы DeepBlue)"),
                   [this](const QString& text) { CheckBox1->setText(text); });
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(8, 24, 361, 17);
    CheckBox1->setChecked(true);
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { Guarded(&TForm1::CheckBox1Click); });
    QLabel* label9 = PlaceLabel(group, "Label9", QString(), 8, 48);
    captions_.Bind(QT_TR_NOOP("Файл цветовой схемы:"),
                   [label9](const QString& text) { SetCaption(label9, text); });
    CSEdit = PlaceEdit(group, "CSEdit", QString(), QRect(136, 46, 633, 21));
    CSEdit->setEnabled(false);
    SpeedButton2 = new QToolButton(group);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setText("...");
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    SpeedButton2->setGeometry(776, 46, 41, 22);
    SpeedButton2->setEnabled(false);
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { Guarded(&TForm1::SpeedButton2Click); });
    new DropTarget(
        group, [](const QString& path) { return HasExtension(path, ".col"); },
        [this](const QString& path) {
            RunHandler(dialogs_, this, [&] { TakeColourScheme(path); });
        });
}

void TForm1::CreateFooter(QWidget* client) {
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(0, 472, ClientWidth, 19);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    StatusBar1 = new QStatusBar(client);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setGeometry(0, 491, ClientWidth, 19);
    StatusBar1->setSizeGripEnabled(false);
    statusPanel0_ = new QLabel(StatusBar1);
    statusPanel0_->setObjectName("StatusPanel0");
    statusPanel0_->setFixedWidth(350);
    statusPanel0_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panel1 = new QLabel(StatusBar1);
    panel1->setObjectName("StatusPanel1");
    panel1->setFixedWidth(50);
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar1->addWidget(statusPanel0_);
    StatusBar1->addWidget(panel1);
}

void TForm1::SetFocusOrder() {
    std::vector<QWidget*> chain{TCButton, CSEdit, CheckBox1, TabbedNotebook1, TNEdit, TAEdit,
                                TDEdit,   TVEdit, TREdit,    TVendEdit,       TPEdit, TUEdit};
    for (int slot : MelodyRows)
        chain.push_back(slotFields_[slot]);
    for (int slot : PictureLeftColumn)
        chain.push_back(slotFields_[slot]);
    for (int slot : PictureRightColumn)
        chain.push_back(slotFields_[slot]);
    for (int slot : AnimationFocusOrder)
        chain.push_back(slotFields_[slot]);
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}
