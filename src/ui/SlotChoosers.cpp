// Choosing a slot's file: the field shows the path, the file is staged and listed, the choice is
// logged and the slot marked; a picture then appears in the phone-screen preview.

#include "FileFilters.h"
#include "MainForm.h"
#include "PictureLoader.h"
#include "UserDialogs.h"
#include "package/Staging.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

// The preview frame's point 5, 5 is the top-left corner of the phone's screen.
constexpr int PreviewInset = 5;

FileRequest SlotFileRequest(bool melody, const QString& folder, const QString& lastFile) {
    FileRequest request;
    if (melody) {
        request.title = QStringLiteral("Выберите файл...");
        request.filters = MelodyFilters();
    } else {
        request.filters = PictureFilters();
        request.previewPane = true;
    }
    request.directory = folder;
    request.lastFile = lastFile;
    return request;
}

} // namespace

bool TForm1::ChooseSlotFile(QLineEdit* field, bool melody) {
    // A choice in the middle of packing would add to the list the build is walking.
    if (building_)
        return false;
    QString& lastFile = melody ? lastMelodyFile_ : lastPictureFile_;
    const QString chosen =
        dialogs_.ChooseFile(this, SlotFileRequest(melody, programFolder_, lastFile));
    if (chosen.isEmpty())
        return false;
    lastFile = chosen;

    const QString path = QDir::toNativeSeparators(chosen);
    field->setText(path);
    const std::string fieldName = field->objectName().toStdString();
    StageSlotFile(state_, fieldName, path.toStdString());
    LogFile.WriteLog(ChoiceLogEntry(path.toStdString(), SlotResourceName(fieldName)));
    state_.SlotChosen[SlotNumberFromFieldName(fieldName)] = 1;
    return true;
}

void TForm1::ChooseMelodyClick(QLineEdit* field) {
    ChooseSlotFile(field, true);
}

void TForm1::ChoosePictureClick(QLineEdit* field) {
    if (!ChooseSlotFile(field, false))
        return;

    const std::string fieldName = field->objectName().toStdString();
    const SlotLayout& layout = SlotLayouts[SlotNumberFromFieldName(fieldName)];
    if (layout.kind != skPicture)
        return;
    Image2->hide();
    const QImage picture =
        LoadPicture(StagedSlotPath(state_, fieldName, field->text().toStdString()));
    Image2->setPixmap(QPixmap::fromImage(picture));
    Image2->move(layout.x + PreviewInset, layout.y + PreviewInset);
    Image2->show();
}
