// The film player: a program of its own that plays one film, silently and looping, and sends its
// pictures to the program that started it (FilmPlayback.cpp) over standard output, taking commands
// on standard input. It is the only code that touches Qt Multimedia: the media libraries, their
// threads and the memory they take live only as long as this process, which ends when the program
// lets go of the film or goes away itself.
#include "onboarding/FilmFrames.h"

#include <QGuiApplication>
#include <QImage>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QObject>
#include <QPluginLoader>
#include <QSocketNotifier>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <malloc.h>
#include <sched.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>
#include <utility>

namespace zentaris::tutorial {

namespace {

// Whether the media backend plug-in `name` loads.
bool backendLoads(const QString& name) {
    for (const QString& root : QCoreApplication::libraryPaths()) {
        QPluginLoader loader(QStringLiteral("%1/multimedia/lib%2mediaplugin.so").arg(root, name));
        if (loader.load()) return true;
    }
    return false;
}

// Picks the media backend and tells Qt Multimedia to use it: the one named by QT_MEDIA_BACKEND
// when that is set, else FFmpeg, else GStreamer. FFmpeg decodes a film with as many threads as
// the process may use processors, each holding pictures of its own; GStreamer's decoder takes one
// per processor of the machine whatever the process may use, and the film then takes twice the
// memory. Qt Multimedia ends the process when no backend loads, so this is asked before a player
// is made; false when none does.
bool chooseMediaBackend() {
    const QString wanted = qEnvironmentVariable("QT_MEDIA_BACKEND");
    const QStringList candidates = wanted.isEmpty() ? QStringList{QStringLiteral("ffmpeg"), QStringLiteral("gstreamer")}
                                                    : QStringList{wanted};
    for (const QString& name : candidates) {
        if (!backendLoads(name)) continue;
        qputenv("QT_MEDIA_BACKEND", name.toLocal8Bit());
        return true;
    }
    return false;
}

// A film of 640x480 decodes on one processor with time to spare; the decoder takes one thread,
// and its pictures, per processor the process may run on.
void keepToOneProcessor() {
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    const int current = ::sched_getcpu();
    if (current < 0 || !CPU_ISSET(current, &allowed)) return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(current, &one);
    ::sched_setaffinity(0, sizeof one, &one);
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

// Writes all of `bytes` to standard output; false once the program reading it is gone.
bool send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data() + sent, bytes.size() - sent);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

// One film, started and parked by the program's commands. Only the newest picture waits to be
// sent: one that came while the program had not yet taken the last is dropped, so a slow
// reader never piles up pictures here.
class FilmPlayer {
public:
    explicit FilmPlayer(const QString& path) : commands_(STDIN_FILENO, QSocketNotifier::Read) {
        // No audio output is ever attached: the films play silently.
        player_.setVideoSink(&sink_);
        QObject::connect(&sink_, &QVideoSink::videoFrameChanged, &context_, [this](const QVideoFrame& frame) {
            latest_ = frame;
            sendLatest();
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
        QObject::connect(&commands_, &QSocketNotifier::activated, &context_, [this] { readCommands(); });
        player_.setSource(QUrl::fromLocalFile(path));
    }

private:
    void readCommands() {
        char commands[256];
        const ssize_t count = ::read(STDIN_FILENO, commands, sizeof commands);
        if (count < 0 && errno == EINTR) return;
        // The program let go of the film, or is gone.
        if (count <= 0) {
            commands_.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        for (ssize_t i = 0; i < count; ++i) {
            switch (commands[i]) {
            case film_wire::resume:
                ++showing_;
                if (!failed_) player_.play();
                break;
            case film_wire::park:
                latest_ = QVideoFrame();
                if (!failed_) {
                    player_.setPosition(0);
                    player_.pause();
                }
                break;
            case film_wire::acknowledge:
                awaitingAcknowledgement_ = false;
                sendLatest();
                break;
            default:
                break;
            }
        }
    }

    void sendLatest() {
        if (awaitingAcknowledgement_ || !latest_.isValid() || failed_) return;
        const QImage image = imageOf(latest_);
        const std::int64_t position = latest_.startTime() >= 0 ? latest_.startTime() / 1000 : player_.position();
        latest_ = QVideoFrame();
        if (image.isNull()) return;
        if (!send(film_wire::encodePicture(image, position, showing_))) {
            QCoreApplication::quit();
            return;
        }
        awaitingAcknowledgement_ = true;
    }

    void fail() {
        if (failed_) return;
        failed_ = true;
        player_.stop();
        send(film_wire::encodeUnplayable());
    }

    QObject context_;
    QVideoSink sink_;
    QMediaPlayer player_;
    QSocketNotifier commands_;
    QVideoFrame latest_;
    std::uint32_t showing_ = 0;
    bool awaitingAcknowledgement_ = false;
    bool failed_ = false;
};

} // namespace

} // namespace zentaris::tutorial

// zentaris-film-player FILM: plays FILM, paused until the first resume command.
int main(int argc, char** argv) {
    using namespace zentaris::tutorial;
    // Ends with the program that started it, even when that one is killed.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::signal(SIGPIPE, SIG_IGN);
    // The media backend's threads each get a heap arena of their own by default; two arenas hold
    // this one film as well and keep the process small.
    ::mallopt(M_ARENA_MAX, 2);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILM\n", argv[0]);
        return 2;
    }
    const QString film = QString::fromLocal8Bit(argv[1]);
    // Never shows a window of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (!chooseMediaBackend() || QMediaFormat().supportedFileFormats(QMediaFormat::Decode).isEmpty()) {
        send(film_wire::encodeUnplayable());
        return 0;
    }
    keepToOneProcessor();
    FilmPlayer player(film);
    return QGuiApplication::exec();
}
