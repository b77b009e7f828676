#pragma once

#include <QImage>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zentaris::tutorial {

// One film's player, silent and looping. It lives in the media module, which the program loads
// only when a film is about to play, so that an idle program never maps the media and audio
// libraries.
class FilmPlayback {
public:
    struct Events {
        // Each new picture, on the main thread.
        std::function<void(const QImage&)> frame;
        // The film cannot be played; nothing more comes.
        std::function<void()> failed;
    };

    virtual ~FilmPlayback() = default;
    // Plays on from where it was parked, reporting to `events`.
    virtual void resume(Events events) = 0;
    // Halts at the first frame and reports nothing more until resumed. Returns at once, where
    // stopping or destroying a playing player can wait on the media backend's threads.
    virtual void park() = 0;
    virtual bool hasFailed() const = 0;
    virtual bool isPlaying() const = 0;
    virtual std::int64_t positionMilliseconds() const = 0;
    virtual bool hasAudioOutput() const = 0;
};

// The media module's one entry point: a film playing from `path` from its first frame, or none
// when no media backend can be loaded on this desktop.
using OpenFilm = FilmPlayback* (*)(const std::string& path, FilmPlayback::Events events);
inline constexpr const char* openFilmSymbol = "zentaris_open_film";

// One showing of a film, lending it the film's player. Each film keeps one player between its
// showings: when a showing ends the player is parked, and the next showing resumes it instead of
// making a new one, so changing pages neither waits for a player nor piles up players. A parked
// player is released once its film has not been shown for a while.
class FilmShowing {
public:
    FilmShowing(std::string path, std::unique_ptr<FilmPlayback> playback);
    ~FilmShowing();
    FilmShowing(const FilmShowing&) = delete;
    FilmShowing& operator=(const FilmShowing&) = delete;

    const FilmPlayback& playback() const { return *playback_; }

private:
    std::string path_;
    std::unique_ptr<FilmPlayback> playback_;
};

// Shows the film at `path` from its first frame: its parked player, else a new one from the media
// module, loading the module on first use; none when the module or a media backend is missing.
std::unique_ptr<FilmShowing> showFilm(const std::string& path, FilmPlayback::Events events);

// Players made since the program started, and those alive now, showing or parked.
struct FilmPlayerCount {
    int made = 0;
    int alive = 0;
};
FilmPlayerCount filmPlayerCount();

// How long a player parked from now on is kept for its film's next showing; gives the time before.
std::chrono::milliseconds keepParkedPlayersFor(std::chrono::milliseconds time);
// Releases every parked player now.
void releaseParkedPlayers();

} // namespace zentaris::tutorial
