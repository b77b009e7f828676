#include "onboarding/FilmPlayback.h"

#include "onboarding/FilmPlayerProcess.h"
#include "onboarding/FreedHeap.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdint>
#include <map>
#include <utility>

namespace zentaris::tutorial {

namespace {

FilmPlayerCount counts;
std::chrono::milliseconds keepTime = std::chrono::seconds(10);

void release(std::unique_ptr<FilmPlayback> playback) {
    if (!playback) return;
    playback.reset();
    --counts.alive;
    // The pictures that came through here were freed, but the allocator keeps freed heap for
    // later; with no film left there is no later, so the tray program goes back to its idle size.
    if (counts.alive == 0) giveFreedHeapBack();
}

struct Parked {
    std::unique_ptr<FilmPlayback> playback;
    std::uint64_t ticket;
};

// The parked player of each film. Never destroyed with the other statics: a player must go while
// the application object still exists, so the shelf is emptied when the application quits.
std::map<std::string, Parked>& shelf() {
    static auto* parked = [] {
        auto* created = new std::map<std::string, Parked>;
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { releaseParkedPlayers(); });
        return created;
    }();
    return *parked;
}

void putOnShelf(const std::string& path, std::unique_ptr<FilmPlayback> playback) {
    static std::uint64_t lastTicket = 0;
    const std::uint64_t ticket = ++lastTicket;
    auto& parked = shelf();
    // One player per film: one that was parked before by another showing of the same film goes.
    if (auto found = parked.find(path); found != parked.end()) release(std::move(found->second.playback));
    parked[path] = Parked{std::move(playback), ticket};
    QTimer::singleShot(keepTime, QCoreApplication::instance(), [path, ticket] {
        auto& entries = shelf();
        auto found = entries.find(path);
        if (found == entries.end() || found->second.ticket != ticket) return;
        release(std::move(found->second.playback));
        entries.erase(found);
    });
}

std::unique_ptr<FilmPlayback> takeFromShelf(const std::string& path) {
    auto& parked = shelf();
    auto found = parked.find(path);
    if (found == parked.end()) return nullptr;
    auto playback = std::move(found->second.playback);
    parked.erase(found);
    return playback;
}

} // namespace

FilmShowing::FilmShowing(std::string path, std::unique_ptr<FilmPlayback> playback)
    : path_(std::move(path)), playback_(std::move(playback)) {}

FilmShowing::~FilmShowing() {
    if (!playback_) return;
    // A failed player is of no use again, and without the application nothing would release it.
    if (playback_->hasFailed() || !QCoreApplication::instance()) {
        release(std::move(playback_));
        return;
    }
    playback_->park();
    putOnShelf(path_, std::move(playback_));
}

std::unique_ptr<FilmShowing> showFilm(const std::string& path, FilmPlayback::Events events) {
    if (!QCoreApplication::instance()) return nullptr;
    if (auto parked = takeFromShelf(path)) {
        parked->resume(std::move(events));
        return std::make_unique<FilmShowing>(path, std::move(parked));
    }
    // Another film's parked player goes before this one's starts.
    releaseParkedPlayers();
    const std::string program = filmPlayerProgram();
    if (program.empty()) return nullptr;
    auto playback = std::make_unique<FilmPlayerProcess>(program, path, std::move(events));
    ++counts.made;
    ++counts.alive;
    return std::make_unique<FilmShowing>(path, std::move(playback));
}

FilmPlayerCount filmPlayerCount() { return counts; }

std::chrono::milliseconds keepParkedPlayersFor(std::chrono::milliseconds time) { return std::exchange(keepTime, time); }

void releaseParkedPlayers() {
    auto& parked = shelf();
    for (auto& [path, entry] : parked) release(std::move(entry.playback));
    parked.clear();
}

} // namespace zentaris::tutorial
