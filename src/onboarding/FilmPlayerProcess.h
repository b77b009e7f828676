#pragma once

#include "onboarding/FilmFrames.h"
#include "onboarding/FilmPlayback.h"

#include <QObject>
#include <QProcess>

#include <memory>
#include <string>

namespace zentaris::tutorial {

// A film played by the film player program (zentaris-film-player) in a process of its own. Its
// pictures come over a pipe; parking and resuming are one-byte commands that return at once, and
// ending the process gives every byte the media libraries took back to the system.
class FilmPlayerProcess final : public FilmPlayback {
public:
    // Starts `program` on the film at `path`, playing from the first frame.
    FilmPlayerProcess(const std::string& program, const std::string& path, Events events);
    ~FilmPlayerProcess() override;

    void resume(Events events) override;
    void park() override;
    bool hasFailed() const override { return failed_; }
    bool isPlaying() const override { return playing_ && !failed_; }
    std::int64_t positionMilliseconds() const override { return position_; }
    // The player program never attaches one.
    bool hasAudioOutput() const override { return false; }

private:
    void readPictures();
    void fail();
    void command(film_wire::Command command);

    Events events_;
    QObject context_;
    std::unique_ptr<QProcess> process_;
    film_wire::Reader reader_;
    // Pictures of earlier showings still on their way are not shown.
    std::uint32_t showing_ = 0;
    std::int64_t position_ = 0;
    bool playing_ = false;
    bool failed_ = false;
};

// The film player program: installed beside the program's libraries, else where it was built;
// empty when there is none.
std::string filmPlayerProgram();

} // namespace zentaris::tutorial
