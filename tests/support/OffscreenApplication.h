#pragma once

#include <QApplication>

namespace zentaris::testing {

// One QApplication for the test process, on the offscreen platform unless one is chosen. It is
// never destroyed: tearing Qt down among the other statics at exit crashes.
inline QApplication& offscreenApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "views_tests";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    return *application;
}

} // namespace zentaris::testing
