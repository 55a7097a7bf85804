#include "viewer_main.h"

#include "application_start.h"
#include "faces.h"
#include "form1.h"
#include "window_watch.h"

int runViewer(int argc, char** argv, std::unique_ptr<Chapter> chapter) {
    const auto app = openApplication(argc, argv);
    installFaceSubstitutions();
    Form1 window(*chapter);
    endWhenDestroyedByOthers(window);
    window.Form_Load();
    // Closed while the start-up pages were still being drawn: there is no
    // window left for the event loop to wait on.
    if (window.closed()) return 0;
    return app->exec();
}
