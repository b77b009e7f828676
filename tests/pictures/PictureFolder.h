#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

#include <string>

namespace zentaris::testing {

// The folder the pictures command writes to: $ZENTARIS_PICTURES, else pictures/ here.
inline QString pictureFolder() {
    QString folder = qEnvironmentVariable("ZENTARIS_PICTURES");
    if (folder.isEmpty()) folder = QStringLiteral("pictures");
    QDir().mkpath(folder);
    return folder;
}

inline void savePicture(const QImage& image, const std::string& name) {
    image.save(pictureFolder() + QLatin1Char('/') + QString::fromStdString(name) + QStringLiteral(".png"));
}

inline void savePicture(QWidget& widget, const std::string& name) { savePicture(widget.grab().toImage(), name); }

} // namespace zentaris::testing
