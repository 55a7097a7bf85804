// The PDF writer as a module of its own, loaded when a PDF is first asked
// for: its libraries (cairo, qpdf, HarfBuzz's subsetter and what they bring,
// gnutls among them) would otherwise be loaded, and take memory, at every
// start of every viewer.
#pragma once

#include <QString>

namespace shell {

class Form1;

// Writes the chapter of a started window as a PDF (chapter_pdf.h's
// writeChapterPdf): an empty text, or one line saying why nothing was written.
using ChapterPdfWriter = QString (*)(Form1& window, const QString& path, int perSheet);

// Where the viewer looks for the module: beside the program, in the
// package's own library folder.
QString pdfModulePath();

// The writer: the one a program that links it in has set, else the
// module's, loaded on the first call. Null, with why set to one line, when
// the module is missing or not the viewer's own.
ChapterPdfWriter chapterPdfWriter(QString* why);

// For programs that link the writer in (the tools, the tests).
void setChapterPdfWriter(ChapterPdfWriter writer);

}  // namespace shell
