#include "onboarding/FilmPlayerProcess.h"

#include <QCoreApplication>

#include <filesystem>
#include <unistd.h>

#ifndef ZENTARIS_FILM_PLAYER_IN_BUILD
#define ZENTARIS_FILM_PLAYER_IN_BUILD ""
#endif

namespace zentaris::tutorial {

FilmPlayerProcess::FilmPlayerProcess(const std::string& program, const std::string& path, Events events)
    : events_(std::move(events)), process_(std::make_unique<QProcess>()) {
    process_->setProgram(QString::fromStdString(program));
    process_->setArguments({QString::fromStdString(path)});
    // What the media backend writes there (the codecs it lists, the hardware decoders it tries in
    // vain) means nothing to the user; a film that cannot be played says so over the pipe.
    process_->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process_.get(), &QProcess::readyReadStandardOutput, &context_, [this] { readPictures(); });
    QObject::connect(process_.get(), &QProcess::errorOccurred, &context_, [this](QProcess::ProcessError) { fail(); });
    QObject::connect(process_.get(), &QProcess::finished, &context_, [this] { fail(); });
    process_->start(QIODevice::ReadWrite | QIODevice::Unbuffered);
    resume(events_);
}

FilmPlayerProcess::~FilmPlayerProcess() {
    QObject::disconnect(process_.get(), nullptr, &context_, nullptr);
    if (process_->state() == QProcess::NotRunning) return;
    // Killed rather than asked: nothing of a player is worth waiting for. Its end is not awaited
    // either (a process that held a film takes a moment to unmap it): the application takes the
    // process object, which goes once the end is reported, or with the application.
    process_->kill();
    if (auto* application = QCoreApplication::instance()) {
        QProcess* ending = process_.release();
        ending->setParent(application);
        QObject::connect(ending, &QProcess::finished, ending, &QObject::deleteLater);
    }
}

void FilmPlayerProcess::command(film_wire::Command command) {
    const char byte = command;
    process_->write(&byte, 1);
}

void FilmPlayerProcess::resume(Events events) {
    events_ = std::move(events);
    if (failed_) return;
    ++showing_;
    position_ = 0;
    playing_ = true;
    command(film_wire::resume);
}

void FilmPlayerProcess::park() {
    events_ = {};
    playing_ = false;
    if (!failed_) command(film_wire::park);
}

void FilmPlayerProcess::readPictures() {
    const QByteArray arrived = process_->readAllStandardOutput();
    reader_.append(arrived.constData(), static_cast<std::size_t>(arrived.size()));
    while (auto message = reader_.next()) {
        if (std::holds_alternative<film_wire::Unplayable>(*message)) {
            fail();
            return;
        }
        auto& picture = std::get<film_wire::Picture>(*message);
        command(film_wire::acknowledge);
        if (!playing_ || picture.showing != showing_) continue;
        position_ = picture.positionMilliseconds;
        if (events_.frame) events_.frame(picture.image);
    }
    if (reader_.corrupt()) fail();
}

void FilmPlayerProcess::fail() {
    if (failed_) return;
    failed_ = true;
    playing_ = false;
    if (process_->state() != QProcess::NotRunning) process_->kill();
    if (events_.failed) events_.failed();
}

std::string filmPlayerProgram() {
    constexpr const char* name = "zentaris-film-player";
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto installed = executable.parent_path() / ".." / "lib" / "zentaris" / name;
        if (std::filesystem::is_regular_file(installed, error)) return installed.string();
    }
    const std::string built = ZENTARIS_FILM_PLAYER_IN_BUILD;
    if (!built.empty() && ::access(built.c_str(), X_OK) == 0) return built;
    return {};
}

} // namespace zentaris::tutorial
