#include "onboarding/FilmPlayback.h"

#include <QCoreApplication>
#include <QLibrary>

#include <filesystem>

#ifndef ZENTARIS_FILM_MODULE_IN_BUILD
#define ZENTARIS_FILM_MODULE_IN_BUILD ""
#endif

namespace zentaris::tutorial {

namespace {

constexpr const char* moduleFile = "libzentaris_film_player.so";

// Installed beside the program's libraries (<prefix>/lib/zentaris); in a build tree, where it
// was built.
QString locateModule() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto installed = executable.parent_path() / ".." / "lib" / "zentaris" / moduleFile;
        if (std::filesystem::is_regular_file(installed, error)) return QString::fromStdString(installed.string());
    }
    return QStringLiteral(ZENTARIS_FILM_MODULE_IN_BUILD);
}

OpenFilm loadModule() {
    // Loaded once, on the first film, and kept: its libraries stay mapped for later films.
    static const OpenFilm open = [] {
        const QString path = locateModule();
        if (path.isEmpty()) return OpenFilm{};
        QLibrary module(path);
        return reinterpret_cast<OpenFilm>(module.resolve(openFilmSymbol));
    }();
    return open;
}

} // namespace

std::unique_ptr<FilmPlayback> openFilm(const std::string& path, FilmPlayback::Events events) {
    if (!QCoreApplication::instance()) return nullptr;
    const OpenFilm open = loadModule();
    if (!open) return nullptr;
    return std::unique_ptr<FilmPlayback>(open(path, std::move(events)));
}

} // namespace zentaris::tutorial
