// The one Qt application object of a platform test process. Every test that
// needs Qt calls this first; whichever comes first creates it.
#pragma once

#include <QApplication>

namespace ruvo::testing {

inline void EnsureQtApplication()
{
    if (QCoreApplication::instance() != nullptr)
        return;
    // Run by hand, outside CTest, the tests still need no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ruvo_desktop_tests";
    static char* argv[] = {name, nullptr};
    // Never deleted: it must outlive every test and every other static.
    new QApplication(argc, argv);
}

// A fixture's first member, so that the application is there before any widget.
struct QtApplicationFirst {
    QtApplicationFirst() { EnsureQtApplication(); }
};

} // namespace ruvo::testing
