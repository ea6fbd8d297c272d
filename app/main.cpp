// Start-up: the executable's folder becomes the current directory (a file whose desktop
// folder cannot be found is saved there), then the state, the hidden window, its first roles
// and focus, the window shown centred, and the event loop until it is closed.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/main_window.h"

namespace {

// Nothing can go on without memory: say so and end with exit code -1.
[[noreturn]] void OutOfMemory() {
    std::fputs("contour-gcode: 内存不足，程序无法继续。\n", stderr);
    std::_Exit(-1);
}

}  // namespace

int main(int argc, char** argv) {
    std::set_new_handler(OutOfMemory);
    try {
        QApplication application(argc, argv);
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        app::ProgramState state;
        app::MainWindow window(state);
        window.OnMainWindowCreated();
        window.ShowCentred();
        return application.exec();
    } catch (const std::bad_alloc&) {  // Qt's containers report a failed allocation this way
        OutOfMemory();
    }
}
