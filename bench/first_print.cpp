// first_print CHAPTER PAGE: a viewer started as for a reader (F1 as if
// pressed), the page shown, then a click on "印刷" timed from the click to the
// job handed to the default printer's print system; then a second click.
// Prints "first_ms second_ms" on stdout, or exits 1 when a page did not go out.
// The first click of a process is the one most readers make: it also loads
// the print-system plugin and asks the server for its printer.
#include "reader_start.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace typeset;

int main(int argc, char** argv) {
    prepareProbeProcess();
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    bool ok = false;
    const int page = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    const StartedViewer v = startAsReader(argv[1]);
    if (!v.window || !ok || page < 0 || page > v.window->lastPage()) return 2;
    Form1& window = *v.window;
    window.ShowThisPic(page);
    QCoreApplication::processEvents();
    double ms[2];
    for (double& m : ms) {
        QElapsedTimer t;
        t.start();
        if (!window.cmdPrint_Click()) return 1;
        m = double(t.nsecsElapsed()) / 1e6;
    }
    std::printf("%.1f %.1f\n", ms[0], ms[1]);
    return 0;
}
