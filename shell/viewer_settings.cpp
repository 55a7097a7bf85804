#include "viewer_settings.h"

#include "form1.h"
#include "state.h"
#include "safe_file.h"
#include "zoom.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <utility>

namespace shell {

QString settingsPath(const QString& viewer) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(QStringLiteral("courseviewers/%1.conf").arg(viewer));
}

ViewerSettings readSettings(const QString& path, const ChapterProfile& profile, QString* warning) {
    ViewerSettings s;
    const QFileInfo file(path);
    if (!file.exists()) return s;
    auto ignore = [&](const QString& why) {
        if (warning) *warning = QStringLiteral("%1: %2; it is ignored").arg(path, why);
        return ViewerSettings{};
    };
    if (!file.isFile() || !file.isReadable()) return ignore(QStringLiteral("cannot be read"));
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) return ignore(QStringLiteral("is not a settings file"));
    bool pageOk = true, zoomOk = true;
    const QVariant page = ini.value(QStringLiteral("view/page")), zoom = ini.value(QStringLiteral("view/zoom"));
    const QString full = ini.value(QStringLiteral("view/fullscreen"), QStringLiteral("false")).toString();
    if (page.isValid()) s.page = page.toString().toInt(&pageOk);
    if (zoom.isValid()) s.zoom = zoom.toString().toInt(&zoomOk);
    if (!pageOk || s.page < 0 || s.page >= profile.pages)
        return ignore(QStringLiteral("holds no page of this chapter"));
    if (!zoomOk || (zoom.isValid() && (s.zoom < minZoom || s.zoom > maxZoom)))
        return ignore(QStringLiteral("holds no zoom from %1 to %2").arg(minZoom).arg(maxZoom));
    if (full != QLatin1String("true") && full != QLatin1String("false"))
        return ignore(QStringLiteral("holds no full-screen setting"));
    s.fullScreen = full == QLatin1String("true");
    return s;
}

QString writeSettings(const QString& path, const ViewerSettings& s) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return QStringLiteral("its folder %1 cannot be made").arg(folder);
    // Written as text here, not by QSettings: a file it could not read it
    // would not write back either, and it never says why a write failed.
    QByteArray text = "[view]\npage=" + QByteArray::number(s.page) + '\n';
    if (s.zoom) text += "zoom=" + QByteArray::number(s.zoom) + '\n';
    text += QByteArray("fullscreen=") + (s.fullScreen ? "true" : "false") + '\n';
    return writeFileSafely(path, text);
}

SettingsKeeper::SettingsKeeper(Form1& window, QString path, const QString& readWarning)
    : QObject(&window), window_(window), path_(std::move(path)) {
    // Paging through a chapter writes once, not once a page.
    settle_.setSingleShot(true);
    settle_.setInterval(500);
    connect(&settle_, &QTimer::timeout, this, [this] { writeNow(); });
    window.onViewChanged = [this] { changed(); };
    window.onEnding = [this] { writeNow(); };
    if (readWarning.isEmpty()) {
        changed();
        return;
    }
    // A file that was read badly is written over at once, so that the one
    // line said of it is true: ignored, or neither read nor written.
    written_ = now();
    const QString why = writeSettings(path_, written_);
    if (why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(readWarning));
    } else {
        warned_ = true;
        std::fprintf(stderr, "%s: cannot be read nor written (%s); the settings are not kept\n",
                     qPrintable(path_), qPrintable(why));
    }
}

ViewerSettings SettingsKeeper::now() const { return {CurPage, window_.zoom(), window_.keptFullScreen()}; }

void SettingsKeeper::changed() { settle_.start(); }

void SettingsKeeper::writeNow() {
    settle_.stop();
    const ViewerSettings shown = now();
    if (shown == written_) return;
    written_ = shown;
    const QString why = writeSettings(path_, shown);
    if (why.isEmpty() || std::exchange(warned_, true)) return;
    std::fprintf(stderr, "%s: cannot be written (%s); the settings are not kept\n", qPrintable(path_),
                 qPrintable(why));
}

}  // namespace shell
