// startup_probe CHAPTER: one viewer start-up, then "ready" on stdout and exit.
// With STARTUP_PROBE_SMAPS=FILE it copies its memory map (/proc/self/smaps)
// to FILE when ready, for the breakdown of where the memory goes.
#include "chapter_catalog.h"
#include "faces.h"
#include "form1.h"
#include "state.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    auto chapter = makeChapter(QString::fromLocal8Bit(argv[1]));
    if (!chapter) return 2;
    installFaceSubstitutions();
    SkipWait = 1;  // as with F1: no paced drawing
    Form1 window(*chapter);
    window.Form_Load();
    QCoreApplication::processEvents();  // the window's first paint
    if (const QString to = qEnvironmentVariable("STARTUP_PROBE_SMAPS"); !to.isEmpty()) {
        QFile from(QStringLiteral("/proc/self/smaps")), out(to);
        // Read, not copied by the kernel: /proc reports its files as empty.
        if (from.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly))
            out.write(from.readAll());
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}
