#include "MelodyPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

void MediaMelodyPlayer::Play(const QString& path) {
    if (!player_) {
        player_ = new QMediaPlayer(this);
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
        connect(player_, &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::EndOfMedia)
                        emit finished();
                });
        connect(player_, &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& reason) { emit failed(reason); });
    }
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}

void MediaMelodyPlayer::Stop() {
    if (player_)
        player_->stop();
}
