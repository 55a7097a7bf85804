#include "pdf_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace shell {

namespace {

ChapterPdfWriter& current() {
    static ChapterPdfWriter writer = nullptr;
    return writer;
}

}  // namespace

QString pdfModulePath() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/" VIEWERS_PDF_MODULE_FROM_BIN "/" VIEWERS_PDF_MODULE_NAME));
}

ChapterPdfWriter chapterPdfWriter(QString* why) {
    if (current()) return current();
    const QString path = pdfModulePath();
    // Kept loaded for the rest of the run. Every symbol is bound at once, so
    // that a module that does not fit the program fails here and not in
    // the middle of a PDF.
    static QLibrary module;
    module.setFileName(path);
    module.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!module.load()) {
        *why = QStringLiteral("the PDF writer could not be loaded (%1)").arg(module.errorString());
        return nullptr;
    }
    // A module of another release may not match this program's classes.
    using Version = const char* (*)();
    const auto version = reinterpret_cast<Version>(module.resolve("courseviewers_pdf_version"));
    using Entry = ChapterPdfWriter (*)();
    const auto entry = reinterpret_cast<Entry>(module.resolve("courseviewers_pdf_writer"));
    if (!version || !entry || qstrcmp(version(), VIEWERS_VERSION) != 0) {
        *why = QStringLiteral("%1 is not the PDF writer of this release (%2)").arg(path, QStringLiteral(VIEWERS_VERSION));
        module.unload();
        return nullptr;
    }
    current() = entry();
    return current();
}

void setChapterPdfWriter(ChapterPdfWriter writer) { current() = writer; }

}  // namespace shell
