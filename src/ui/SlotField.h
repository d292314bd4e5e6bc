#pragma once
// A slot's edit field: double-clicking it chooses the slot's file.

#include <QLineEdit>

class SlotField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
