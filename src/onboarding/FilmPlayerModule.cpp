// The media module: the only code that touches Qt Multimedia. The program loads it when a film is
// about to play (FilmPlayback.cpp), so the media and audio libraries stay out of an idle program.
#include "onboarding/FilmPlayback.h"

#include <QCoreApplication>
#include <QDir>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QObject>
#include <QPluginLoader>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

namespace zentaris::tutorial {

namespace {

// A backend plug-in that loads: the one named by QT_MEDIA_BACKEND when that is set, else any.
// Qt Multimedia ends the process when it finds none, so this is asked before a player is made.
bool mediaBackendLoads() {
    const QString wanted = qEnvironmentVariable("QT_MEDIA_BACKEND");
    for (const QString& root : QCoreApplication::libraryPaths()) {
        const QDir folder(root + QStringLiteral("/multimedia"));
        for (const QString& file : folder.entryList({QStringLiteral("*.so")}, QDir::Files)) {
            if (!wanted.isEmpty() && file != QStringLiteral("lib%1mediaplugin.so").arg(wanted)) continue;
            QPluginLoader loader(folder.filePath(file));
            if (loader.load()) return true;
        }
    }
    return false;
}

class MultimediaFilmPlayback final : public FilmPlayback {
public:
    MultimediaFilmPlayback(const std::string& path, Events events) : events_(std::move(events)) {
        // No audio output is ever attached: the films play silently.
        player_.setVideoSink(&sink_);
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, &context_, [this](const QVideoFrame& frame) {
            const QImage image = frame.toImage();
            if (!image.isNull() && events_.frame) events_.frame(image);
        });
        // At the end the film starts again from its first frame, without end.
        QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, &context_, [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia) {
                player_.setPosition(0);
                player_.play();
            } else if (status == QMediaPlayer::InvalidMedia) {
                fail();
            }
        });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred, &context_, [this](QMediaPlayer::Error error) {
            if (error != QMediaPlayer::NoError) fail();
        });
        player_.setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
        player_.play();
    }

    ~MultimediaFilmPlayback() override {
        QObject::disconnect(&sink_, nullptr, &context_, nullptr);
        QObject::disconnect(&player_, nullptr, &context_, nullptr);
        player_.stop();
    }

    bool isPlaying() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }
    std::int64_t positionMilliseconds() const override { return player_.position(); }
    bool hasAudioOutput() const override { return player_.audioOutput() != nullptr; }

private:
    void fail() {
        if (failed_) return;
        failed_ = true;
        player_.stop();
        if (events_.failed) events_.failed();
    }

    Events events_;
    QObject context_;
    QVideoSink sink_;
    QMediaPlayer player_;
    bool failed_ = false;
};

} // namespace

} // namespace zentaris::tutorial

extern "C" Q_DECL_EXPORT zentaris::tutorial::FilmPlayback* zentaris_open_film(const std::string& path,
                                                                                 zentaris::tutorial::FilmPlayback::Events events) {
    using namespace zentaris::tutorial;
    if (!QCoreApplication::instance() || !mediaBackendLoads()) return nullptr;
    if (QMediaFormat().supportedFileFormats(QMediaFormat::Decode).isEmpty()) return nullptr;
    return new MultimediaFilmPlayback(path, std::move(events));
}
