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

#include <cstdint>
#include <utility>

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

std::uint8_t clamped(int value) { return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// One picture of a film in memory. The usual 4:2:0 pictures are converted here, on the processor:
// QVideoFrame::toImage would convert through the graphics stack, which on a desktop without a
// graphics card means a software renderer and many times the processor time.
QImage imageOf(const QVideoFrame& source) {
    QVideoFrame frame(source);
    const auto format = frame.pixelFormat();
    const bool planar = format == QVideoFrameFormat::Format_YUV420P || format == QVideoFrameFormat::Format_YV12;
    const bool interleaved = format == QVideoFrameFormat::Format_NV12 || format == QVideoFrameFormat::Format_NV21;
    if ((!planar && !interleaved) || !frame.map(QVideoFrame::ReadOnly)) return frame.toImage();
    const int width = frame.width(), height = frame.height();
    QImage image(width, height, QImage::Format_RGB32);
    const uchar* luma = frame.bits(0);
    const int lumaStride = frame.bytesPerLine(0);
    // Where the two colour samples of chroma column x sit, and how far apart neighbours are.
    const uchar* first = frame.bits(1);
    const uchar* second = planar ? frame.bits(2) : frame.bits(1) + 1;
    const int chromaStride = frame.bytesPerLine(1);
    const int step = planar ? 1 : 2;
    const bool swapped = format == QVideoFrameFormat::Format_YV12 || format == QVideoFrameFormat::Format_NV21;
    for (int y = 0; y < height; ++y) {
        const uchar* lumaRow = luma + y * lumaStride;
        const uchar* firstRow = first + (y / 2) * chromaStride;
        const uchar* secondRow = second + (y / 2) * (planar ? frame.bytesPerLine(2) : chromaStride);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // ITU-R BT.601, limited range, in fixed point.
            const int c = 298 * (lumaRow[x] - 16);
            int u = firstRow[(x / 2) * step] - 128, v = secondRow[(x / 2) * step] - 128;
            if (swapped) std::swap(u, v);
            out[x] = qRgb(clamped((c + 409 * v + 128) >> 8), clamped((c - 100 * u - 208 * v + 128) >> 8),
                          clamped((c + 516 * u + 128) >> 8));
        }
    }
    frame.unmap();
    return image;
}

class MultimediaFilmPlayback final : public FilmPlayback {
public:
    MultimediaFilmPlayback(const std::string& path, Events events) : events_(std::move(events)) {
        // No audio output is ever attached: the films play silently.
        player_.setVideoSink(&sink_);
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, &context_, [this](const QVideoFrame& frame) {
            if (!events_.frame) return;
            const QImage image = imageOf(frame);
            if (!image.isNull()) events_.frame(image);
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
        // A paused player shuts down at once; a playing or stopping one waits for the backend. One
        // that failed was stopped then, and a pause would only wake it.
        if (!failed_) player_.pause();
    }

    void resume(Events events) override {
        events_ = std::move(events);
        player_.play();
    }

    // Seeking a playing player and then pausing it return at once. Stopping it, or seeking it once
    // paused, waits for its picture thread, which waits for this thread: a third of a second
    // here under GStreamer.
    void park() override {
        events_ = {};
        if (failed_) return;
        player_.setPosition(0);
        player_.pause();
    }

    bool hasFailed() const override { return failed_; }
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
