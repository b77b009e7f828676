#include "onboarding/TutorialResources.h"

#include "onboarding/TutorialStyle.h"
#include "platform/Bundle.h"
#include "views/PictureFile.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>

namespace zentaris::tutorial {

namespace {

std::optional<std::filesystem::path> existing(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return path;
    return std::nullopt;
}

// A name is one path component; anything else is no resource of ours.
bool isPlainName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

QImage loadImage(const std::filesystem::path& file) {
    const QByteArray bytes = readPictureFile(file);
    if (file.extension() != ".svg") return QImage::fromData(bytes);
    QSvgRenderer renderer(bytes);
    if (!renderer.isValid()) return {};
    // Large enough to stay sharp when scaled down to any frame of the pages.
    const QSize size = renderer.defaultSize().scaled(1600, 1600, Qt::KeepAspectRatio);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

std::optional<std::filesystem::path> picturePath(const std::string& name) {
    if (!isPlainName(name)) return std::nullopt;
    const auto folder = platform::Bundle::main().resourcePath() / "images";
    for (const char* type : {".png", ".svg"}) {
        if (auto path = existing(folder / (name + type))) return path;
    }
    return std::nullopt;
}

RoundedPicture::RoundedPicture(const std::filesystem::path& file, double cornerRadius, QWidget* parent)
    : QWidget(parent), source_(loadImage(file)), cornerRadius_(cornerRadius) {}

double RoundedPicture::aspectRatio() const {
    if (source_.isNull() || source_.height() == 0) return 1.0;
    return static_cast<double>(source_.width()) / source_.height();
}

void RoundedPicture::setFixedWidthKeepingProportions(int width) {
    setFixedSize(width, static_cast<int>(std::lround(width / aspectRatio())));
}

void RoundedPicture::paintEvent(QPaintEvent*) {
    if (source_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QSizeF fitted = QSizeF(source_.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    QPainterPath clip;
    clip.addRoundedRect(target, cornerRadius_, cornerRadius_);
    painter.setClipPath(clip);
    painter.drawImage(target, source_);
}

RoundedPicture* makePicture(const std::string& name, int width, double cornerRadius, double shadowOpacity,
                            double shadowRadius, double shadowOffsetY, QWidget* parent) {
    const auto path = picturePath(name);
    if (!path) return nullptr;
    auto* picture = new RoundedPicture(*path, cornerRadius, parent);
    if (picture->isNull()) {
        delete picture;
        return nullptr;
    }
    picture->setFixedWidthKeepingProportions(width);
    addShadow(picture, shadowOpacity, shadowRadius, shadowOffsetY);
    return picture;
}

} // namespace zentaris::tutorial
