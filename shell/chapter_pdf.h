// A chapter as one PDF handout: every page as the print label lays it out
// for paper, one A4 page each, with a text layer that reads as the pages do,
// an outline entry per page named by its first heading with one per
// numbered heading under it, the chapter's title and the document's
// language.
#pragma once

#include "printer.h"

#include <QString>
#include <vector>

namespace shell {

class Form1;

// Every page of a started window printed in page order, each shown first as
// a reader paging through would, and kept instead of sent to the printer.
// A page that could not be printed leaves the list short; why is in `why`.
std::vector<PrintedPage> printEveryPage(Form1& window, QString* why);

// The names of the pages in the outline: each page's section heading; a
// page that goes on with the section before it, that section's heading and
// "(続き)" (continued); else the page's first line, else "Page N" (from 1).
// Names are outline titles (outlineTitle).
QStringList outlineNames(const std::vector<PrintedPage>& pages);

// The numbered headings of each page ("(2) 無限連分数"), in reading order,
// as outline titles: the outline's entries under each page's.
std::vector<QStringList> outlineHeadings(const std::vector<PrintedPage>& pages);

// A line as an outline title: single blanks, and none in a word whose
// letters the page spaces out ("(1)  概 要" is "(1) 概要").
QString outlineTitle(const QString& line);

// The pages a handout's sheet may hold: 1, 2 or 4.
constexpr bool isPagesPerSheet(int n) { return n == 1 || n == 2 || n == 4; }

// Writes the pages as a PDF at path: A4 sheets of perSheet pages each
// (isPagesPerSheet), in reading order, each page as large as fits its place
// within 15 mm margins; an outline entry leads to the sheet and place of
// its page. The file is written under a temporary name beside path and
// renamed when it is complete, so a failure never leaves part of a PDF
// there. Returns an empty text, or one line saying why nothing was written.
QString writePdf(const std::vector<PrintedPage>& pages, const QString& path,
                 const QString& title, const QString& creator, int perSheet = 1);

// printEveryPage, then writePdf with the chapter's title.
QString writeChapterPdf(Form1& window, const QString& path, int perSheet = 1);

}  // namespace shell
