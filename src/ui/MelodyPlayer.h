#pragma once
// Playing a melody from the overview. Behind an interface, so that a test knows what was asked
// to play whether or not the machine has a sound device.

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;

class MelodyPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    /// Stops whatever plays and plays the file. Reports the end or a failure by signal, maybe
    /// before returning.
    virtual void Play(const QString& path) = 0;
    virtual void Stop() = 0;

signals:
    void finished();
    void failed(const QString& reason);
};

/// Qt Multimedia's player; the sound system starts with the first melody played.
class MediaMelodyPlayer : public MelodyPlayer {
    Q_OBJECT
public:
    using MelodyPlayer::MelodyPlayer;
    void Play(const QString& path) override;
    void Stop() override;

private:
    QMediaPlayer* player_ = nullptr;
    QAudioOutput* audio_ = nullptr;
};
