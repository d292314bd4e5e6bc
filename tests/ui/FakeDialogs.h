#pragma once
// Stands in for the toolkit's dialogs: answers file and colour dialogs from queues and records
// every message box, modal window and opened address.

#include "ui/UserDialogs.h"

#include <QDialog>
#include <QStringList>
#include <QUrl>
#include <functional>

class FakeDialogs : public UserDialogs {
public:
    QStringList answers; // taken in order; an empty text cancels
    QList<FileRequest> requests;
    QStringList saveAnswers; // taken in order; an empty text cancels
    QList<FileRequest> saveRequests;
    QList<QColor> colourAnswers;  // taken in order; an invalid colour cancels
    QList<QColor> colourRequests; // the colour each dialog opened on
    QStringList colourTitles;
    QStringList errorCaptions;
    QStringList errorTexts;
    QStringList messageTexts;
    QStringList questions;
    QList<bool> replies; // taken in order; "No" when none is left
    QList<QUrl> openedUrls;
    int modalRuns = 0;
    std::function<void(QDialog&)> onModal;

    QString ChooseFile(QWidget*, const FileRequest& request) override {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString ChooseSaveFile(QWidget*, const FileRequest& request) override {
        saveRequests.append(request);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    QColor ChooseColour(QWidget*, const QColor& initial, const QString& title) override {
        colourRequests.append(initial);
        colourTitles.append(title);
        return colourAnswers.isEmpty() ? QColor() : colourAnswers.takeFirst();
    }
    void ShowError(QWidget*, const QString& caption, const QString& text) override {
        errorCaptions.append(caption);
        errorTexts.append(text);
    }
    void ShowMessage(QWidget*, const QString&, const QString& text) override {
        messageTexts.append(text);
    }
    bool Ask(QWidget*, const QString&, const QString& question) override {
        questions.append(question);
        return !replies.isEmpty() && replies.takeFirst();
    }
    void RunModal(QDialog& dialog) override {
        ++modalRuns;
        if (onModal)
            onModal(dialog);
    }
    void OpenUrl(const QUrl& url) override { openedUrls.append(url); }
};
