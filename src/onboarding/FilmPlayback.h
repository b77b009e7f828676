#pragma once

#include <QImage>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zentaris::tutorial {

// One film's player, silent and looping. The film plays in a process of its own (the film player
// program), so that the media and audio libraries, their threads and what they allocate never
// enter this program, and are all given back when the player goes.
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

// One showing of a film, lending it the film's player. When a showing ends the player is parked,
// and the next showing of that film resumes it instead of starting a new one, so coming back to a
// page shows its film at once. A parked player is released once its film has not been shown for a
// while, and as soon as another film is shown: no more than one player is alive at a time, each a
// process of its own.
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

// Shows the film at `path` from its first frame: its parked player, else a new one; none when the
// film player program is missing. A film that turns out unplayable (no media backend on this
// desktop, a broken file) reports so through its events.
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
