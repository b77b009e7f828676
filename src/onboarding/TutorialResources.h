#pragma once

#include <QPixmap>
#include <QWidget>

#include <filesystem>
#include <optional>
#include <string>

namespace zentaris::tutorial {

// The picture `name` among the program's images (images/<name>.png or .svg), when it is there.
std::optional<std::filesystem::path> picturePath(const std::string& name);

// A picture drawn into its frame, scaled to fit in its own proportions and clipped to a rounded
// rectangle.
class RoundedPicture : public QWidget {
public:
    RoundedPicture(const std::filesystem::path& file, double cornerRadius, QWidget* parent = nullptr);

    bool isNull() const { return source_.isNull(); }
    // The picture's own proportions, width over height.
    double aspectRatio() const;
    // Fixes the frame at `width` and the height that keeps the proportions.
    void setFixedWidthKeepingProportions(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage source_;
    double cornerRadius_;
};

// The page's picture `name` at `width` with a rounded clip and a shadow; none when the program
// lacks it.
RoundedPicture* makePicture(const std::string& name, int width, double cornerRadius, double shadowOpacity,
                            double shadowRadius, double shadowOffsetY, QWidget* parent = nullptr);

} // namespace zentaris::tutorial
