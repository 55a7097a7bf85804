// What a viewer remembers between runs: the page in view, the zoom and
// full screen, in a small file of the desktop's configuration folder.
#pragma once

#include "chapter.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace shell {

class Form1;

struct ViewerSettings {
    int page = 0;
    int zoom = 0;  // 0: none remembered
    bool fullScreen = false;
    bool operator==(const ViewerSettings&) const = default;
};

// $XDG_CONFIG_HOME/courseviewers/VIEWER.conf (~/.config when unset).
QString settingsPath(const QString& viewer);

// The settings in path for a chapter of profile's pages. A missing file
// gives the defaults; so does an unreadable or corrupt one, or a value out
// of range, with one line saying so in *warning.
ViewerSettings readSettings(const QString& path, const ChapterProfile& profile, QString* warning);

// Writes them (safe_file.h): an empty text, or why the file could not be
// written (nothing else happens: the viewer goes on without). A zoom of 0 is
// left out, as none remembered.
QString writeSettings(const QString& path, const ViewerSettings& s);

// Keeps a window's settings in path as the reader changes them: written
// once the changes have settled for a moment, and at once when asked to
// (the program is ending). A file that cannot be written is said once, on
// standard error.
class SettingsKeeper : public QObject {
public:
    // A child of window; hooks itself to the window's changes and its end.
    // readWarning is what readSettings said of the file: the file is then
    // written at once, and one line says either that or, when it cannot be
    // written either, both.
    SettingsKeeper(Form1& window, QString path, const QString& readWarning = {});
    // The window changed its page, zoom or full screen.
    void changed();
    void writeNow();

private:
    ViewerSettings now() const;
    Form1& window_;
    QString path_;
    QTimer settle_;
    ViewerSettings written_{-1, 0, false};  // nothing yet: the first showing is written
    bool warned_ = false;
};

}  // namespace shell
