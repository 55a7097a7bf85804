// startup_probe CHAPTER: one viewer start-up, then "ready" on stdout and exit.
#include "memory_map.h"
#include "reader_start.h"

#include <QApplication>
#include <cstdio>

using namespace typeset;

int main(int argc, char** argv) {
    prepareProbeProcess();
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const StartedViewer v = startAsReader(argv[1]);
    if (!v.window) return 2;
    QCoreApplication::processEvents();  // the window's first paint
    copyMemoryMapIfAsked();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}
