#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zentaris::tutorial {

// One film playing, silently and in a loop, from its first frame. It lives in the media module,
// which the program loads only when a film is about to play, so that an idle program never maps
// the media and audio libraries. Destroying it stops the film and releases the player.
class FilmPlayback {
public:
    struct Events {
        // Each new picture, on the main thread.
        std::function<void(const QImage&)> frame;
        // The film cannot be played; nothing more comes.
        std::function<void()> failed;
    };

    virtual ~FilmPlayback() = default;
    virtual bool isPlaying() const = 0;
    virtual std::int64_t positionMilliseconds() const = 0;
    virtual bool hasAudioOutput() const = 0;
};

// The media module's one entry point: a film playing from `path`, or none when no media backend
// can be loaded on this desktop.
using OpenFilm = FilmPlayback* (*)(const std::string& path, FilmPlayback::Events events);
inline constexpr const char* openFilmSymbol = "zentaris_open_film";

// Starts the film at `path` through the media module, loading the module on first use; none when
// the module or a media backend is missing.
std::unique_ptr<FilmPlayback> openFilm(const std::string& path, FilmPlayback::Events events);

} // namespace zentaris::tutorial
