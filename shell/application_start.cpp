#include "application_start.h"

#include <QByteArray>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <malloc.h>
#include <vector>

namespace shell {

namespace {

// Messages the platform layer gives while it starts. They are held back: if
// the start fails, its warnings ("could not connect to display", the plugin
// list) say nothing a reader can act on; if it succeeds, they are passed on.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

struct StartState {
    QtMessageHandler previous = nullptr;
    std::vector<HeldMessage> held;
    QByteArray program;
};

StartState& state() {
    static StartState s;
    return s;
}

QByteArray whereTheDisplayWasLookedFor() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb")) return "platform " + platform;
    const QByteArray display = qgetenv("DISPLAY");
    return display.isEmpty() ? QByteArray("DISPLAY is not set") : "DISPLAY=" + display;
}

void holdDuringStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // Qt aborts after a fatal message; the program ends here instead.
        std::fprintf(stderr, "%s: no display could be opened (%s)\n",
                     state().program.constData(), whereTheDisplayWasLookedFor().constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    state().held.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

void passOn(const HeldMessage& m) {
    const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
    if (state().previous) {
        state().previous(m.type, context, m.text);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(m.type, context, m.text)));
    }
}

}  // namespace

void returnFreedMemoryPromptly() {
    constexpr int threshold = 128 * 1024;  // the allocator's own starting value
    mallopt(M_MMAP_THRESHOLD, threshold);
    mallopt(M_TRIM_THRESHOLD, threshold);
}

std::unique_ptr<QApplication> openApplication(int& argc, char** argv, StartMessages messages) {
    returnFreedMemoryPromptly();
    // A message whose reader has gone (standard error piped to a program
    // that ended) is lost; the reader's session must not end with it.
    std::signal(SIGPIPE, SIG_IGN);
    const QString path = QString::fromLocal8Bit(argc > 0 ? argv[0] : "viewer");
    state().program = QFileInfo(path).fileName().toLocal8Bit();
    state().previous = qInstallMessageHandler(holdDuringStart);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(state().previous);
    if (messages == StartMessages::PassOn)
        for (const HeldMessage& m : state().held) passOn(m);
    state().held.clear();
    return app;
}

}  // namespace shell
