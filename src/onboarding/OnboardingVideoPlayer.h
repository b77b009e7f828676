#pragma once

#include <QWidget>

#include <filesystem>
#include <memory>

class QMediaPlayer;
class QVideoWidget;

namespace zentaris {

// A demonstration film that plays at once, silently and endlessly, with no controls, scaled to
// fit its frame in its own proportions. It stops when the view goes away.
class OnboardingVideoPlayer : public QWidget {
public:
    OnboardingVideoPlayer(const std::filesystem::path& url, double cornerRadius, QWidget* parent = nullptr);
    ~OnboardingVideoPlayer() override;

    // False when the film is missing or no media backend can play it: the view then stays empty.
    bool hasPlayer() const { return player_ != nullptr; }

    // Whether films can be played at all. Qt Multimedia ends the process when it finds no media
    // backend, so this looks for one before anything of it is touched.
    static bool canPlayFilms();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double cornerRadius_;
    QMediaPlayer* player_ = nullptr;
    QVideoWidget* video_ = nullptr;
};

// The film `name` of a page in a fixed frame with rounded corners; none when the program lacks
// the film or cannot play films.
OnboardingVideoPlayer* makeTutorialFilm(const std::string& name, QSize frame, double cornerRadius, QWidget* parent = nullptr);

} // namespace zentaris
