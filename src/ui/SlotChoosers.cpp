// Choosing a slot's file: the dialog of the slot's kind, the editor's choice, and for a picture
// the phone-screen preview.

#include "ErrorBox.h"
#include "FileFilters.h"
#include "MainForm.h"
#include "PictureLoader.h"
#include "SlotField.h"
#include "UserDialogs.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

// The preview frame's point 5, 5 is the top-left corner of the phone's screen.
constexpr int PreviewInset = 5;

FileRequest SlotFileRequest(bool melody, const QString& folder, const QString& lastFile) {
    FileRequest request;
    if (melody) {
        request.title = TForm1::tr("Выберите файл...");
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

bool TForm1::ChooseSlotFile(int slot) {
    // A choice in the middle of packing would add to the list the build is walking.
    if (building_)
        return false;
    const bool melody = SlotLayouts[slot].kind == skMelody;
    QString& lastFile = melody ? lastMelodyFile_ : lastPictureFile_;
    const QString chosen =
        dialogs_.ChooseFile(this, SlotFileRequest(melody, dialogFolder_, lastFile));
    if (chosen.isEmpty())
        return false;
    lastFile = chosen;
    return editor_.ChooseSlotFile(slot, QDir::toNativeSeparators(chosen).toStdString());
}

void TForm1::TakeSlotFile(int slot, const QString& path) {
    if (!building_ && editor_.ChooseSlotFile(slot, QDir::toNativeSeparators(path).toStdString()))
        ShowInPreview(slot);
}

void TForm1::ShowInPreview(int slot) {
    const SlotLayout& layout = SlotLayouts[slot];
    const SlotFile* file = editor_.Document().CurrentFile(slot);
    if (layout.kind != skPicture || !file)
        return;
    Image2->hide();
    Image2->setPixmap(QPixmap::fromImage(LoadPicture(file->stagedPath)));
    Image2->move(layout.x + PreviewInset, layout.y + PreviewInset);
    Image2->show();
}

void TForm1::SlotFieldDoubleClick(int slot) {
    SlotField* field = slotFields_[slot];
    RunHandler(dialogs_, this, [&] {
        if (SlotLayouts[slot].kind == skMelody)
            ChooseMelodyClick(field);
        else
            ChoosePictureClick(field);
    });
}

void TForm1::ChooseMelodyClick(QLineEdit* field) {
    ChooseSlotFile(SlotNumberFromFieldName(field->objectName().toStdString()));
}

void TForm1::ChoosePictureClick(QLineEdit* field) {
    const int slot = SlotNumberFromFieldName(field->objectName().toStdString());
    if (ChooseSlotFile(slot))
        ShowInPreview(slot);
}
