#pragma once

#include "../app/BenchDesktop.h"

#include <xcb/xcb.h>

#include <atomic>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>

namespace zentaris::bench {

// Resident memory of a process and of every process it started, in MiB.
struct Resident {
    double program = 0;
    double children = 0;
    double total() const { return program + children; }
};
Resident residentMiB(pid_t pid);

// Kills a process started by the benchmark and waits for it.
void stopProcess(pid_t pid);

// The highest resident memory of a process and its children, read every 50 ms until stopped.
class PeakSampler {
public:
    explicit PeakSampler(pid_t pid);
    ~PeakSampler();
    double stop();

private:
    std::atomic<bool> running_{true};
    double peak_ = 0; // read once the thread has ended
    std::thread thread_;
};

// The program's tutorial window, driven with the pointer like a person would. Which page shows is
// read from the window's progress bar, whose fill grows by a sixth of its width on each page.
class TutorialDriver {
public:
    TutorialDriver(BenchDesktop& desktop, const std::string& display, pid_t pid);
    ~TutorialDriver();

    bool waitForWindow(double seconds);
    // The page shown (1 to 7), 0 when it cannot be read.
    int page();
    bool waitForPage(int page, double seconds);
    void clickNext();
    void clickBack();
    // Skip, on the first page.
    void clickSkip();
    // Clicks Next or Back and waits until page `expected` shows.
    bool next(int expected);
    bool back(int expected);
    // Clicks Next or Back and gives the time until page `expected` shows, in ms: how long the
    // interface takes to answer, the program's work on leaving the page included. None when the
    // page never comes.
    std::optional<double> timeToTurn(bool forward, int expected);
    // As the window's close button does.
    void close();
    bool waitUntilClosed(double seconds);

private:
    void click(int x, int y);

    BenchDesktop& desktop_;
    pid_t pid_;
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    xcb_window_t window_ = 0;
};

} // namespace zentaris::bench
