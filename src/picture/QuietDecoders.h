#pragma once
// The decoders warn on the console about damage that a check reports anyway; while one of these
// lives, Qt's messages are dropped.

#include <QtGlobal>

class QuietDecoders {
public:
    QuietDecoders() : previous_(qInstallMessageHandler(Drop)) {}
    ~QuietDecoders() { qInstallMessageHandler(previous_); }
    QuietDecoders(const QuietDecoders&) = delete;
    QuietDecoders& operator=(const QuietDecoders&) = delete;

private:
    static void Drop(QtMsgType, const QMessageLogContext&, const QString&) {}
    QtMessageHandler previous_;
};
