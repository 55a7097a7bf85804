#include "viewer_main.h"

#include "application_start.h"
#include "faces.h"
#include "form1.h"
#include "page_accessible.h"
#include "viewer_options.h"
#include "viewer_settings.h"
#include "window_watch.h"

using namespace typeset;

namespace shell {

namespace {

QStringList commandLine(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// Qt's own options are a dash and a word (-platform, -display); the
// application takes them out of the arguments when it is made.
bool mayHoldQtOptions(const QStringList& args) {
    for (qsizetype i = 1; i < args.size(); ++i)
        if (args[i].size() > 2 && args[i][0] == QLatin1Char('-') && args[i][1] != QLatin1Char('-'))
            return true;
    return false;
}

}  // namespace

int runViewer(int argc, char** argv, std::unique_ptr<Chapter> chapter) {
    const ChapterProfile& profile = chapter->profile();
    // Help, version and mistakes are answered before the application
    // connects to a display, so that they need none; a command line with
    // Qt's own options in it is read once the application has taken them out.
    const QStringList args = commandLine(argc, argv);
    const ViewerOptions early = parseViewerOptions(args, profile);
    if (early.action != ViewerOptions::Action::Run &&
        (early.action != ViewerOptions::Action::Error || !mayHoldQtOptions(args)))
        return reportViewerOptions(early);
    // Writing a PDF or the text shows nothing to anyone: it needs no display unless the
    // platform is chosen for it.
    if ((!early.pdf.isEmpty() || early.writeText) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = openApplication(argc, argv);
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
