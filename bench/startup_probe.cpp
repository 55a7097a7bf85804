// startup_probe CHAPTER: one viewer start-up, then "ready" on stdout and exit.
#include "application_start.h"
#include "chapter_catalog.h"
#include "faces.h"
#include "form1.h"
#include "memory_map.h"
#include "state.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    returnFreedMemoryPromptly();  // as the viewers start
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    auto chapter = makeChapter(QString::fromLocal8Bit(argv[1]));
    if (!chapter) return 2;
    installFaceSubstitutions();
    SkipWait = 1;  // as with F1: no paced drawing
    Form1 window(*chapter);
    window.Form_Load();
    QCoreApplication::processEvents();  // the window's first paint
    copyMemoryMapIfAsked();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}
