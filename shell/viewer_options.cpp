#include "viewer_options.h"

#include "chapter_pdf.h"
#include "form1.h"
#include "page_reading.h"
#include "linear_text.h"
#include "math_tree.h"
#include "pdf_module.h"
#include "safe_file.h"
#include "sound.h"
#include "viewer_settings.h"
#include "state.h"
#include "zoom.h"

#include <QCommandLineParser>
#include <cstdio>

using namespace typeset;

namespace shell {

namespace {

// The page number of an option, or an error naming what is wrong with it.
std::optional<QString> readPage(const QString& option, const QString& value,
                                const ChapterProfile& profile, int& page) {
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok) return QStringLiteral("--%1 needs a page number, not \"%2\"").arg(option, value);
    if (n < 0 || n >= profile.pages)
        return QStringLiteral("there is no page %1: pages are 0 to %2").arg(value).arg(profile.pages - 1);
    page = n;
    return std::nullopt;
}

}  // namespace

ViewerOptions parseViewerOptions(const QStringList& arguments, const ChapterProfile& profile) {
    QCommandLineParser parser;
    // "-frobnicate" is one unknown word, not ten unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("%1\nPages 0 to %2: the arrow keys or labels page, 印刷 prints the page on display.")
            .arg(profile.title)
            .arg(profile.pages - 1));
    // Not the parser's stock help option: its --help-all would only be
    // answered by an application that exits from inside the parser.
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption pageOption(
        QStringLiteral("page"), QStringLiteral("Open on page <N> once start-up has finished."),
        QStringLiteral("N"));
    const QCommandLineOption printOption(
        QStringLiteral("print"),
        QStringLiteral("Print page <N> on the default printer as the print label does, then quit "
                       "(status 0 when the page went out, 1 when not)."),
        QStringLiteral("N"));
    const QCommandLineOption zoomOption(
        QStringLiteral("zoom"),
        QStringLiteral("Show the window at <PERCENT> of its size, %1 to %2 (Ctrl and +, - or 0 "
                       "zoom while it runs).")
            .arg(minZoom)
            .arg(maxZoom),
        QStringLiteral("PERCENT"));
    const QCommandLineOption fullScreenOption(
        QStringLiteral("fullscreen"),
        QStringLiteral("Open in full screen, the page as large as fits (F11 toggles it, Escape "
                       "leaves it)."));
    const QCommandLineOption pdfOption(
        QStringLiteral("pdf"),
        QStringLiteral("Write the chapter to <FILE> as a PDF, every page as the print label lays it "
                       "out, then quit (status 0 when it was written, 1 when not). FILE must be a "
                       "regular file or new; - writes to standard output (a pipe or a file, not a "
                       "terminal)."),
        QStringLiteral("FILE"));
    const QCommandLineOption handoutOption(
        QStringLiteral("handout"),
        QStringLiteral("With --pdf: put <N> pages on each A4 sheet, 1, 2 or 4 (two by two), in "
                       "reading order, each as large as fits its place."),
        QStringLiteral("N"));
    const QCommandLineOption textOption(
        QStringLiteral("text"),
        QStringLiteral("Write the text of every page to standard output, formulas in linear "
                       "notation (x^2, 2/N, ∑_(k=0)^n), pages separated by form feeds, then quit "
                       "(status 0 when it was written, 1 when not)."));
    parser.addOption(pageOption);
    parser.addOption(printOption);
    parser.addOption(pdfOption);
    parser.addOption(handoutOption);
    const QCommandLineOption spokenOption(
        QStringLiteral("spoken"),
        QStringLiteral("With --text: formulas as a screen reader speaks them, in Japanese words "
                       "(N 分の 2, x の 2 乗, k イコール 0 から n までの総和)."));
    const QCommandLineOption mathmlOption(
        QStringLiteral("mathml"),
        QStringLiteral("With --text: the text as one XHTML document, a section a page and a "
                       "paragraph a line, each formula as MathML with its spoken reading."));
    parser.addOption(textOption);
    parser.addOption(spokenOption);
    parser.addOption(mathmlOption);
    parser.addOption(zoomOption);
    parser.addOption(fullScreenOption);
    const QCommandLineOption noAnimationOption(
        QStringLiteral("no-animation"),
        QStringLiteral("Show every drawing finished at once, as F1 does, without its sounds."));
    parser.addOption(noAnimationOption);
    const QCommandLineOption presentOption(
        QStringLiteral("present"),
        QStringLiteral("Lecture: the page full screen on the second screen for the hall, a presenter "
                       "view on this one (next page, step, time). Page Down, Right, Space or Enter "
                       "go on, Page Up, Left or Backspace back; B or . blanks the hall black, W "
                       "white; F11 shows the hall on a single screen; Escape ends (F5 starts it "
                       "in a running viewer)."));
    parser.addOption(presentOption);
    const QCommandLineOption invertOption(
        QStringLiteral("invert"),
        QStringLiteral("Show the pages with their lightness inverted and hues kept, for a dark hall "
                       "(Ctrl+I toggles it); printing and PDFs keep their colours."));
    parser.addOption(invertOption);

    ViewerOptions result;
    const QString name = profile.name;
    result.program = name;
    auto fail = [&](const QString& why) {
        result.action = ViewerOptions::Action::Error;
        result.text = QStringLiteral("%1: %2 (try %1 --help)").arg(name, why);
        return result;
    };
    // The message is the parser's own; its sentence-ending period is dropped
    // so that the hint follows on the same line.
    if (!parser.parse(arguments)) {
        QString why = parser.errorText().simplified();
        if (why.endsWith(QLatin1Char('.'))) why.chop(1);
        return fail(why);
    }
    // "--pdf --text" is a file name forgotten, not a file called "--text";
    // "-" alone is standard output, "-1" a number.
    for (const QCommandLineOption* option : {&pageOption, &printOption, &zoomOption, &pdfOption, &handoutOption})
        for (const QString& value : parser.values(*option))
            if (value.size() > 1 && value[0] == u'-' && !value[1].isDigit())
                return fail(QStringLiteral("--%1 needs a value; \"%2\" is an option")
                                .arg(option->names().first(), value));
    if (parser.isSet(helpOption)) {
        result.action = ViewerOptions::Action::Help;
        // The usage line names the viewer, not the path it was started by
        // (and help is answered before there is an application to ask).
        const QString help = parser.helpText();
        result.text = QStringLiteral("Usage: %1 [options]\n").arg(name) +
                      help.mid(help.indexOf(QLatin1Char('\n')) + 1);
        return result;
    }
    if (parser.isSet(versionOption)) {
        result.action = ViewerOptions::Action::Version;
        result.text = QStringLiteral("%1 %2\n").arg(name, QStringLiteral(VIEWERS_VERSION));
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));
    if (parser.isSet(pageOption) && parser.isSet(printOption))
        return fail(QStringLiteral("--page and --print cannot be given together"));
    const std::pair<const QCommandLineOption*, int*> pageOptions[] = {{&pageOption, &result.page},
                                                                      {&printOption, &result.print}};
    for (const auto& [option, target] : pageOptions) {
        if (!parser.isSet(*option)) continue;
        const QStringList values = parser.values(*option);
        if (values.size() > 1) return fail(QStringLiteral("--%1 is given more than once").arg(option->names().first()));
        if (auto why = readPage(option->names().first(), values.first(), profile, *target)) return fail(*why);
    }
    if (parser.isSet(zoomOption)) {
        const QStringList values = parser.values(zoomOption);
        if (values.size() > 1) return fail(QStringLiteral("--zoom is given more than once"));
        bool ok = false;
        const int percent = values.first().toInt(&ok);
        if (!ok || percent < minZoom || percent > maxZoom)
            return fail(QStringLiteral("--zoom needs a percentage from %1 to %2, not \"%3\"")
                            .arg(minZoom)
                            .arg(maxZoom)
                            .arg(values.first()));
        result.zoom = percent;
    }
    result.fullScreen = parser.isSet(fullScreenOption);
    result.noAnimation = parser.isSet(noAnimationOption);
    result.present = parser.isSet(presentOption);
    result.invert = parser.isSet(invertOption);
    if (parser.isSet(pdfOption)) {
        const QStringList files = parser.values(pdfOption);
        if (files.size() > 1) return fail(QStringLiteral("--pdf is given more than once"));
        if (parser.isSet(pageOption) || parser.isSet(printOption))
            return fail(QStringLiteral("--pdf cannot be given with --page or --print"));
        if (files.first().isEmpty()) return fail(QStringLiteral("--pdf needs a file name"));
        result.pdf = files.first();
    }
    if (parser.isSet(handoutOption)) {
        const QStringList values = parser.values(handoutOption);
        if (values.size() > 1) return fail(QStringLiteral("--handout is given more than once"));
        if (!parser.isSet(pdfOption)) return fail(QStringLiteral("--handout goes with --pdf"));
        bool ok = false;
        const int n = values.first().toInt(&ok);
        if (!ok || !isPagesPerSheet(n))
            return fail(QStringLiteral("--handout needs 1, 2 or 4 pages a sheet, not \"%1\"").arg(values.first()));
        result.handout = n;
    }
    if (parser.isSet(textOption)) {
        if (parser.isSet(pageOption) || parser.isSet(printOption) || parser.isSet(pdfOption))
            return fail(QStringLiteral("--text cannot be given with --page, --print or --pdf"));
        result.writeText = true;
    }
    if (parser.isSet(spokenOption)) {
        if (!result.writeText) return fail(QStringLiteral("--spoken goes with --text"));
        result.spoken = true;
    }
    if (parser.isSet(mathmlOption)) {
        if (!result.writeText) return fail(QStringLiteral("--mathml goes with --text"));
        if (result.spoken) return fail(QStringLiteral("--mathml and --spoken cannot be given together"));
        result.mathml = true;
    }
    if (result.present && (result.print >= 0 || !result.pdf.isEmpty() || result.writeText))
        return fail(QStringLiteral("--present cannot be given with --print, --pdf or --text"));
    return result;
}

int reportViewerOptions(const ViewerOptions& options) {
    switch (options.action) {
    case ViewerOptions::Action::Help:
    case ViewerOptions::Action::Version:
        if (const QString why = writeStandardOutput(options.text.toLocal8Bit()); !why.isEmpty()) {
            std::fprintf(stderr, "%s: standard output could not be written (%s)\n",
                         qPrintable(options.program), qPrintable(why));
            return 1;
        }
        return 0;
    case ViewerOptions::Action::Error:
        std::fprintf(stderr, "%s\n", options.text.toLocal8Bit().constData());
        return exitUsage;
    case ViewerOptions::Action::Run:
        break;
    }
    return 0;
}

std::optional<int> startViewer(Form1& window, const ViewerOptions& options) {
    const bool printing = options.print >= 0;
    const bool exporting = !options.pdf.isEmpty() || options.writeText;
    // A page printed or a PDF written from a script is wanted at once: paced
    // drawing is skipped as F1 skips it.
    if (printing || exporting) SkipWait = 1;
    // Nobody is there to hear a PDF or the text being written.
    if (exporting) setSoundPlayer(makeSilentSoundPlayer());
    // A reader who wants no motion gets every drawing finished, and no
    // ring-out at the end of a trace that was never seen.
    if (options.noAnimation) {
        SkipWait = 1;
        setSoundPlayer(makeSilentSoundPlayer());
    }
    // A window for reading opens as the last one was left; what the command
    // line says wins.
    const bool keeps = !options.settingsFile.isEmpty() && !printing && !exporting;
    // The PDF writer is found before the chapter is drawn for it.
    ChapterPdfWriter pdfWriter = nullptr;
    if (!options.pdf.isEmpty()) {
        QString why;
        pdfWriter = chapterPdfWriter(&why);
        if (!pdfWriter) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(window.chapter().profile().name), qPrintable(why));
            return 1;
        }
    }
    ViewerSettings last;
    QString settingsWarning;  // said once the keeper has tried to write the file
    if (keeps) last = readSettings(options.settingsFile, window.chapter().profile(), &settingsWarning);
    // The window opens at the zoom asked for, or remembered, or at the
    // largest step that fits the screen.
    const int zoom = options.zoom ? options.zoom : last.zoom ? last.zoom : window.fittingZoom();
    if (zoom != 100) window.setZoom(zoom);
    if (options.fullScreen || (last.fullScreen && !options.zoom)) window.setFullScreen(true);
    if (options.invert) window.setInverted(true);
    if (options.present && !window.startPresentation()) {
        std::fprintf(stderr, "%s: there is no screen to present on\n",
                     qPrintable(window.chapter().profile().name));
        return 1;
    }
    window.Form_Load();
    if (window.closed()) {
        if (!printing && !exporting) return 0;
        if (exporting)
            std::fprintf(stderr, "%s: the window was closed before %s was written\n",
                         qPrintable(window.chapter().profile().name),
                         options.writeText ? "the text" : qPrintable(options.pdf));
        else
            std::fprintf(stderr, "印刷: the window was closed before page %d was printed\n", options.print);
        return 1;
    }
    if (options.writeText) {
        const QString text = options.mathml ? chapterMathml(window) : chapterText(window, options.spoken);
        const QString why = writeStandardOutput(text.toUtf8());
        if (why.isEmpty()) return 0;
        std::fprintf(stderr, "%s: the text could not be written to standard output (%s)\n",
                     qPrintable(window.chapter().profile().name), qPrintable(why));
        return 1;
    }
    if (exporting) {
        const QString why = pdfWriter(window, options.pdf, options.handout);
        if (why.isEmpty()) return 0;
        std::fprintf(stderr, "%s: %s\n", qPrintable(window.chapter().profile().name),
                     qPrintable(why));
        return 1;
    }
    if (printing) {
        window.ShowThisPic(options.print);
        return window.cmdPrint_Click() ? 0 : 1;
    }
    if (options.page >= 0) window.showOnceStarted(options.page);
    else if (last.page > 0) window.showOnceStarted(last.page);
    if (keeps) new SettingsKeeper(window, options.settingsFile, settingsWarning);
    return std::nullopt;
}

QString chapterText(Form1& window, bool spoken) {
    QString all;
    for (int n = 0; n <= window.lastPage(); ++n) {
        window.ShowThisPic(n);
        if (n > 0) all += QLatin1Char('\f');
        all += pageText(window.pic(n), spoken) + QLatin1Char('\n');
    }
    return all;
}

QString chapterMathml(Form1& window) {
    QString all = QStringLiteral(
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"ja\">\n<head><meta charset=\"UTF-8\"/>"
                      "<title>%1</title></head>\n<body>\n")
                      .arg(xmlEscaped(window.chapter().profile().title));
    for (int n = 0; n <= window.lastPage(); ++n) {
        window.ShowThisPic(n);
        all += QStringLiteral("<section id=\"p%1\">\n").arg(n);
        for (const QString& line : pageLines(window.pic(n))) {
            QString p;
            for (const auto& [run, formula] : formulaRuns(line))
                p += formula ? mathml(parseLinear(run), words(run)) : xmlEscaped(run);
            all += QStringLiteral("<p>") + p + QStringLiteral("</p>\n");
        }
        all += QStringLiteral("</section>\n");
    }
    return all + QStringLiteral("</body>\n</html>\n");
}

}  // namespace shell
