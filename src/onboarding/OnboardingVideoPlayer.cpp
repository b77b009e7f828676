#include "onboarding/OnboardingVideoPlayer.h"

#include "onboarding/TutorialResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QMediaFormat>
#include <QMediaPlayer>
#include <QPainterPath>
#include <QPluginLoader>
#include <QRegion>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace zentaris {

namespace {

// A backend plug-in that loads: the one named by QT_MEDIA_BACKEND when that is set, else any.
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

bool isReadableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

bool OnboardingVideoPlayer::canPlayFilms() {
    if (!QCoreApplication::instance() || !mediaBackendLoads()) return false;
    return !QMediaFormat().supportedFileFormats(QMediaFormat::Decode).isEmpty();
}

OnboardingVideoPlayer::OnboardingVideoPlayer(const std::filesystem::path& url, double cornerRadius, QWidget* parent)
    : QWidget(parent), cornerRadius_(cornerRadius) {
    if (!isReadableFile(url) || !canPlayFilms()) return;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    video_ = new QVideoWidget(this);
    video_->setAspectRatioMode(Qt::KeepAspectRatio);
    layout->addWidget(video_);
    // Without an audio output the player makes no sound.
    player_ = new QMediaPlayer(this);
    player_->setVideoOutput(video_);
    player_->setLoops(QMediaPlayer::Infinite);
    player_->setSource(QUrl::fromLocalFile(QString::fromStdString(url.string())));
    player_->play();
}

OnboardingVideoPlayer::~OnboardingVideoPlayer() {
    if (player_) player_->stop();
}

void OnboardingVideoPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The picture never draws outside the rounded frame.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

OnboardingVideoPlayer* makeTutorialFilm(const std::string& name, QSize frame, double cornerRadius, QWidget* parent) {
    const auto film = tutorial::filmPath(name);
    if (!film) return nullptr;
    auto* player = new OnboardingVideoPlayer(*film, cornerRadius, parent);
    if (!player->hasPlayer()) {
        delete player;
        return nullptr;
    }
    player->setFixedSize(frame);
    return player;
}

} // namespace zentaris
