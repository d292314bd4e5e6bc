#include "HelpUnit.h"

#include "ClickLabel.h"
#include "PlaceLabel.h"
#include "UserDialogs.h"
#include "WebLinks.h"
#include "WindowFont.h"

#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace {

void SetLinkLook(QLabel* label, const QColor& colour, bool underline) {
    QFont font = label->font();
    font.setUnderline(underline);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

TAboutBox::TAboutBox(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      dialogs_(dialogs) {
    setObjectName("AboutBox");
    captions_.Bind(QT_TR_NOOP("About Benq-Siemens EL71 Kestrova"),
                   [this](const QString& text) { setWindowTitle(text); });
    setFont(WindowFont());
    setFixedSize(434, 328);
    setModal(true);
    // Centred on the screen wherever the main window has been moved to.
    move(screen()->availableGeometry().center() - rect().center());

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setGeometry(8, 8, 417, 281);
    // A sunken box draws a lowered outer and a raised inner line: an etched frame.
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel->setLineWidth(1);

    auto* icon = new QLabel(panel);
    icon->setObjectName("ProgramIcon");
    icon->setGeometry(8, 8, 65, 121);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap(":/kestrova/phone.png"));

    struct Caption {
        const char* name;
        const char* source;
        int x, y;
    };
    for (const Caption& caption : {
             Caption{"ProductName", QT_TR_NOOP("Benq-Siemens EL71 Kestrova by Morvane"), 88, 16},
             Caption{"Version", QT_TR_NOOP("Version 1.0.3.0 (beta-version)"), 88, 42},
             Caption{"Label9", QT_TR_NOOP("Дата релиза:"), 88, 68},
             Caption{"MakerCaption", QT_TR_NOOP("Автор:"), 88, 94},
             Caption{"Comments", QT_TR_NOOP("Comments:"), 88, 120},
         }) {
        QLabel* label = PlaceLabel(panel, caption.name, QString(), caption.x, caption.y);
        captions_.Bind(caption.source, [label](const QString& text) { SetCaption(label, text); });
    }
    PlaceLabel(panel, "Label10", "30.07.2007", 176, 68);
    Label1 = new ClickLabel("Morvane", panel);
    Label1->setObjectName("Label1");
    Label1->move(176, 94);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setMouseTracking(true);
    SetLinkLook(Label1, QColor(0, 0, 255), false);
    Label1->adjustSize();
    connect(Label1, &ClickLabel::Clicked, this, &TAboutBox::Label1Click);
    connect(Label1, &ClickLabel::MouseMoved, this, &TAboutBox::Label1MouseMove);
    connect(Label1, &ClickLabel::MouseLeft, this, &TAboutBox::Label1MouseLeave);

    auto* note = new QLabel(panel);
    captions_.Bind(QT_TR_NOOP("Данная версия предназначена для тестирования на совместимость с "
                              "телефонами Benq-Siemens E71 и EL71."),
                   [note](const QString& text) { note->setText(text); });
    note->setObjectName("Label2");
    note->setGeometry(8, 136, 353, 26);
    note->setWordWrap(true);
    auto* lacks = new QLabel(panel);
    captions_.Bind(
        QT_TR_NOOP("В настоящей версии программы не реализовано много возможностей тем для "
                   "телефонов Benq-Siemens. В частности, нет возможности изменить цветовую "
                   "схему. Если кто-то владеет информацией по поводу расшифровки цветовой схемы "
                   "и хочет помочь развитию проекта, обращайтесь к автору. :-)"),
        [lacks](const QString& text) { lacks->setText(text); });
    lacks->setObjectName("Label5");
    lacks->setGeometry(8, 176, 401, 57);
    lacks->setWordWrap(true);
    lacks->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(this);
    captions_.Bind(QT_TR_NOOP("OK"), [ok](const QString& text) { ok->setText(text); });
    ok->setObjectName("OKButton");
    ok->setGeometry(175, 296, 75, 25);
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::Label1Click() {
    dialogs_.OpenUrl(QUrl(MakerSiteUrl));
}

void TAboutBox::Label1MouseMove() {
    SetLinkLook(Label1, QColor(255, 0, 0), true);
}

void TAboutBox::Label1MouseLeave() {
    SetLinkLook(Label1, QColor(0, 0, 255), false);
}

void TAboutBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        captions_.Retranslate();
    QDialog::changeEvent(event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // The box has no cancel button, so Escape leaves it open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OpenHelpFile(UserDialogs& dialogs, QWidget* owner, const QString& path) {
    const QFileInfo help(path);
    if (help.isFile())
        dialogs.OpenUrl(QUrl::fromLocalFile(help.absoluteFilePath()));
    else
        dialogs.ShowError(owner, TAboutBox::tr("Error"),
                          TAboutBox::tr("Файл справки отсутствует!!!"));
}
