#include "onboarding/FilmShadow.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zentaris::tutorial {

namespace {

// One pass of a running-average blur over the alpha of `image` along rows (or columns).
void boxBlur(QImage& image, int radius, bool alongRows) {
    const int lines = alongRows ? image.height() : image.width();
    const int length = alongRows ? image.width() : image.height();
    std::vector<int> source(static_cast<std::size_t>(length));
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> uchar& { return alongRows ? image.scanLine(line)[i] : image.scanLine(i)[line]; };
        for (int i = 0; i < length; ++i) source[static_cast<std::size_t>(i)] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += i >= 0 && i < length ? source[static_cast<std::size_t>(i)] : 0;
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<uchar>(sum / (2 * radius + 1));
            const int entering = i + radius + 1, leaving = i - radius;
            if (entering < length) sum += source[static_cast<std::size_t>(entering)];
            if (leaving >= 0) sum -= source[static_cast<std::size_t>(leaving)];
        }
    }
}

} // namespace

FilmShadow::FilmShadow(QWidget* frame, double opacity, double radius, double offsetY, double cornerRadius)
    : QWidget(frame->parentWidget()), frame_(frame), opacity_(opacity), radius_(radius), offsetY_(offsetY),
      cornerRadius_(cornerRadius) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    frame->installEventFilter(this);
    follow();
}

bool FilmShadow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show ||
                              event->type() == QEvent::Hide)) {
        follow();
    }
    return false;
}

void FilmShadow::follow() {
    if (!frame_ || frame_->parentWidget() != parentWidget()) return;
    const int margin = static_cast<int>(std::ceil(radius_ + std::abs(offsetY_)));
    setGeometry(frame_->geometry().adjusted(-margin, -margin, margin, margin));
    setVisible(frame_->isVisible());
    stackUnder(frame_);
}

QImage FilmShadow::render() const {
    const qreal scale = devicePixelRatioF();
    QImage alpha((QSizeF(size()) * scale).toSize(), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        const int margin = (width() - frame_->width()) / 2;
        QPainterPath shape;
        shape.addRoundedRect(QRectF(margin, margin + offsetY_, frame_->width(), frame_->height()), cornerRadius_, cornerRadius_);
        painter.fillPath(shape, QColor(0, 0, 0, static_cast<int>(std::lround(255 * opacity_))));
    }
    // Three box blurs come close to the Gaussian fall-off of a shadow of this radius.
    const int pass = std::max(1, static_cast<int>(std::lround(radius_ * scale / 3)));
    for (int round = 0; round < 3; ++round) {
        boxBlur(alpha, pass, true);
        boxBlur(alpha, pass, false);
    }
    QImage shadow(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    QPainter painter(&shadow);
    painter.drawImage(0, 0, alpha); // an alpha-only picture paints black through its alpha
    shadow.setDevicePixelRatio(scale);
    return shadow;
}

void FilmShadow::paintEvent(QPaintEvent*) {
    if (!frame_) return;
    if (cache_.isNull() || cache_.size() != (QSizeF(size()) * devicePixelRatioF()).toSize()) cache_ = render();
    QPainter(this).drawImage(0, 0, cache_);
}

} // namespace zentaris::tutorial
