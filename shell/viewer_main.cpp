#include "viewer_main.h"

#include "application_start.h"
#include "faces.h"
#include "form1.h"
#include "page_accessible.h"
#include "viewer_options.h"
#include "viewer_settings.h"
#include "window_watch.h"

#include <csignal>

using namespace typeset;

namespace shell {

namespace {

QStringList commandLine(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// The arguments less Qt's own options (-platform xcb, -display :1, -reverse,
// in one dash or two), which the application takes out when it is made: what
// is left can be judged before a display is opened.
QStringList withoutQtOptions(const QStringList& args) {
    static const QStringList withValue = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
        "qwindowtitle", "title", "qwindowicon", "icon", "session", "display", "name", "visual",
        "style", "stylesheet", "qmljsdebugger", "dialogs", "fontengine"};
    static const QStringList alone = {"reverse", "testability", "nograb", "dograb", "widgetcount", "sync"};
    QStringList kept;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString word = args[i];
        if (i == 0 || !word.startsWith(QLatin1Char('-'))) {
            kept << word;
            continue;
        }
        word.remove(0, word.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        if (equals > 0 && withValue.contains(word.left(equals))) continue;
        if (withValue.contains(word) && i + 1 < args.size()) {
            ++i;
            continue;
        }
        if (!alone.contains(word)) kept << args[i];
    }
    return kept;
}

}  // namespace

int runViewer(int argc, char** argv, std::unique_ptr<Chapter> chapter) {
    const ChapterProfile& profile = chapter->profile();
    // A reader that has gone (output piped to a program that ended) is a
    // failed write to report, not a signal that ends the program unheard.
    std::signal(SIGPIPE, SIG_IGN);
    // Help, version and mistakes are answered before the application
    // connects to a display, so that they need none.
    const QStringList args = commandLine(argc, argv);
    const ViewerOptions early = parseViewerOptions(withoutQtOptions(args), profile);
    if (early.action != ViewerOptions::Action::Run) return reportViewerOptions(early);
    // Writing a PDF or the text shows nothing to anyone: it needs no display unless the
    // platform is chosen for it.
    const bool output = !early.pdf.isEmpty() || early.writeText;
    if (output && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = openApplication(argc, argv, output ? StartMessages::Drop : StartMessages::PassOn);
    ViewerOptions options = parseViewerOptions(QApplication::arguments(), profile);
    if (options.action != ViewerOptions::Action::Run) return reportViewerOptions(options);
    options.settingsFile = settingsPath(profile.name);
    // The desktop finds the window's menu entry, and with it the icon, by
    // the viewer's application id.
    QGuiApplication::setDesktopFileName(QStringLiteral(VIEWERS_APP_ID_PREFIX ".") + profile.name);
    installFaceSubstitutions();
    installPageAccessibility();
    Form1 window(*chapter);
    endWhenDestroyedByOthers(window);
    if (const std::optional<int> status = startViewer(window, options)) return *status;
    return app->exec();
}

}  // namespace shell
