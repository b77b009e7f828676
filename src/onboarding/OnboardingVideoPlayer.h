#pragma once

#include <QImage>
#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace zentaris {

namespace tutorial {
class FilmShowing;
class FilmShadow;
}

// A demonstration film that plays silently and endlessly, with no controls, the whole picture
// fitted to the frame in its own proportions with empty bands where they differ. Each showing
// plays from the first frame once the view has stayed on screen for a moment; hiding the view
// (leaving the page, closing the window) stops it and lets go of its player. A film that cannot
// be played leaves the area empty.
class OnboardingVideoPlayer : public QWidget {
public:
    OnboardingVideoPlayer(std::filesystem::path url, double cornerRadius, QWidget* parent = nullptr);
    ~OnboardingVideoPlayer() override;

    // Whether this view holds a player and it is playing, and where it stands; none without one.
    bool isPlaying() const;
    std::optional<std::int64_t> positionMilliseconds() const;
    bool hasAudioOutput() const;
    // True once the film turned out unplayable on this showing.
    bool hasFailed() const { return failed_; }
    // A black shadow under the frame while a film can be shown.
    void setShadow(double opacity, double radius, double offsetY);

    // The rectangle the current picture is drawn in: the frame with bands taken off; empty when
    // nothing is drawn.
    QRectF pictureRect() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void start();
    void stop();
    void fail();

    std::filesystem::path url_;
    double cornerRadius_;
    // A page passed through quickly never wakes a player: the film starts after this delay.
    QTimer startDelay_;
    std::unique_ptr<tutorial::FilmShowing> showing_;
    struct Shadow {
        double opacity, radius, offsetY;
    };
    std::optional<Shadow> shadowStyle_;
    QPointer<tutorial::FilmShadow> shadow_;
    QImage frame_;
    bool failed_ = false;
};

// The film `name` of a page in a fixed frame with rounded corners and a shadow; none when the
// program lacks the film.
OnboardingVideoPlayer* makeTutorialFilm(const std::string& name, QSize frame, double cornerRadius, QWidget* parent = nullptr);

} // namespace zentaris
