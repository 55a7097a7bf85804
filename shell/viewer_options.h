// A viewer's command line and the start-up it asks for.
#pragma once

#include "chapter.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

class Form1;

struct ViewerOptions {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    int page = -1;   // --page N: the page in view once start-up has finished
    int print = -1;  // --print N: print page N, then quit
    int zoom = 0;    // --zoom PERCENT, 50 to 400 (0: the largest step up to 100 % that fits)
    bool fullScreen = false;  // --fullscreen
    bool noAnimation = false;  // --no-animation: drawings finished at once, silent
    bool present = false;   // --present: the hall full screen, a presenter view beside it
    bool invert = false;    // --invert: the screen's colours for a dark hall
    QString pdf;     // --pdf FILE: write the chapter as a PDF there, then quit
    int handout = 1;  // --handout N: pages on each sheet of that PDF (1, 2 or 4)
    bool writeText = false;  // --text: write every page's text to standard output, then quit
    bool spoken = false;     // --spoken: that text with its formulas in Japanese words
    bool mathml = false;     // --mathml: that text as XHTML, its formulas as MathML
    QString text;    // the help or version text, or a one-line error
    QString program;  // the viewer's name, for its messages
    // Where the last page, zoom and full screen are remembered between runs
    // of the window (the program sets it; empty: nothing is remembered).
    QString settingsFile;
};

// Exit status of a command line the viewer cannot act on.
constexpr int exitUsage = 2;

// Reads the arguments (the program's name first) against the chapter's pages.
ViewerOptions parseViewerOptions(const QStringList& arguments, const ChapterProfile& profile);

// Writes the help, version or error text where it belongs and returns the
// exit status that goes with it.
int reportViewerOptions(const ViewerOptions& options);

// Start-up as the options ask. Returns the exit status when the program ends
// here (after printing or writing the PDF, or closed during start-up), or
// nothing when the event loop should run.
std::optional<int> startViewer(Form1& window, const ViewerOptions& options);

// Every page's text in reading order, formulas in linear notation, pages
// separated by form feeds: what --text writes.
QString chapterText(Form1& window, bool spoken = false);

// The same text as one XHTML document, a section a page and a paragraph a
// line, each formula in it a MathML <math> with its spoken reading as
// alttext: what --text --mathml writes.
QString chapterMathml(Form1& window);

}  // namespace shell
