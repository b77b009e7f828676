#include "onboarding/OnboardingVideoPlayer.h"

#include "onboarding/FilmPlayback.h"
#include "onboarding/FilmShadow.h"
#include "platform/Bundle.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace zentaris {

using namespace tutorial;

namespace {

constexpr int startDelayMilliseconds = 200;

} // namespace

OnboardingVideoPlayer::OnboardingVideoPlayer(std::filesystem::path url, double cornerRadius, QWidget* parent)
    : QWidget(parent), url_(std::move(url)), cornerRadius_(cornerRadius) {
    startDelay_.setSingleShot(true);
    startDelay_.setInterval(startDelayMilliseconds);
    connect(&startDelay_, &QTimer::timeout, this, [this] { start(); });
}

OnboardingVideoPlayer::~OnboardingVideoPlayer() { delete shadow_; }

void OnboardingVideoPlayer::setShadow(double opacity, double radius, double offsetY) {
    shadowStyle_ = Shadow{opacity, radius, offsetY};
}

bool OnboardingVideoPlayer::isPlaying() const { return showing_ && showing_->playback().isPlaying(); }

std::optional<std::int64_t> OnboardingVideoPlayer::positionMilliseconds() const {
    if (!showing_) return std::nullopt;
    return showing_->playback().positionMilliseconds();
}

bool OnboardingVideoPlayer::hasAudioOutput() const { return showing_ && showing_->playback().hasAudioOutput(); }

void OnboardingVideoPlayer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    startDelay_.start();
    if (shadowStyle_ && !shadow_ && !failed_ && parentWidget()) {
        shadow_ = new FilmShadow(this, shadowStyle_->opacity, shadowStyle_->radius, shadowStyle_->offsetY, cornerRadius_);
    }
}

void OnboardingVideoPlayer::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    startDelay_.stop();
    stop();
}

void OnboardingVideoPlayer::start() {
    if (showing_) return;
    failed_ = false;
    QPointer<OnboardingVideoPlayer> self(this);
    FilmPlayback::Events events;
    events.frame = [self](const QImage& image) {
        if (!self || !self->showing_) return;
        self->frame_ = image;
        self->update();
    };
    // The player reports from inside its own signal: release it once that has returned.
    events.failed = [self] {
        QMetaObject::invokeMethod(self.data(), [self] { if (self) self->fail(); }, Qt::QueuedConnection);
    };
    showing_ = showFilm(url_.string(), std::move(events));
    if (!showing_) fail();
}

void OnboardingVideoPlayer::stop() {
    showing_.reset();
    // The next showing starts from the first frame, not from this one.
    frame_ = QImage();
}

void OnboardingVideoPlayer::fail() {
    stop();
    failed_ = true;
    // An empty area: no picture and no shadow of one.
    delete shadow_;
    update();
}

QRectF OnboardingVideoPlayer::pictureRect() const {
    if (frame_.isNull()) return {};
    const QSizeF fitted = QSizeF(frame_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return {QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted};
}

void OnboardingVideoPlayer::paintEvent(QPaintEvent*) {
    const QRectF target = pictureRect();
    if (target.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    // The picture never draws outside the rounded frame the page gave.
    QPainterPath clip;
    clip.addRoundedRect(QRectF(rect()), cornerRadius_, cornerRadius_);
    painter.setClipPath(clip);
    painter.drawImage(target, frame_);
}

OnboardingVideoPlayer* makeTutorialFilm(const std::string& name, QSize frame, double cornerRadius, QWidget* parent) {
    const auto film = platform::Bundle::main().pathForResource(name, "mp4");
    if (!film) return nullptr;
    auto* player = new OnboardingVideoPlayer(*film, cornerRadius, parent);
    player->setFixedSize(frame);
    player->setShadow(0.15, 10, 4);
    return player;
}

} // namespace zentaris
