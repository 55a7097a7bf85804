// pageshot CHAPTER OUTDIR [--list] [--print] [--pdf] [--screen-pdf] [--send N]
//
// Runs a chapter's start-up offscreen with paced drawing skipped, shows every
// page as a reader paging through would, and writes each page box as
// OUTDIR/CHAPTER-pN.png; with --list also OUTDIR/CHAPTER-pN.txt, one line per
// drawing operation of the page as drawn in the real fonts. With --print it
// then clicks the print label on every page and writes the image that would
// be sent as OUTDIR/CHAPTER-pN-print.png. With --pdf it writes the chapter as
// OUTDIR/CHAPTER.pdf as the viewers' --pdf does: every page as the print
// label lays it out for paper, one PDF page each, text as text; with
// --screen-pdf the pages as the window shows them at 100 %, as
// OUTDIR/CHAPTER-screen.pdf. With --send N it prints page N on the system's
// default printer, exactly as the print label does, and exits with status 1
// when the page did not go out. With --list and --pdf also
// OUTDIR/CHAPTER-pN-formulas.txt, the linear text of each formula of the
// paper page, one a line, for checking the PDF's text.
#include "application_start.h"
#include "backends/painter_canvas.h"
#include "chapter_catalog.h"
#include "chapter_pdf.h"
#include "backends/painting.h"
#include "faces.h"
#include "font_cache.h"
#include "form1.h"
#include "linear_text.h"
#include "page_box.h"
#include "printer.h"
#include "sound.h"
#include "state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>
#include <cstdio>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

QString num(double v) { return QString::number(v, 'f', 2); }

// #rrggbb of a canvas colour (red in its lowest byte).
QString hexColor(Color c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 255, 2, 16, QLatin1Char('0'));
}

// One line per operation of the page's picture, tab-separated: the kind and
// four numbers (text and glyphs: the cell and its far corner; circles: the
// centre and the arc's angles), then for text and glyphs the text as drawn,
// the family drawn, size, weight, slant, then the colour, the angle of
// turned text, the width of lines, outlines and circles, and last for text
// and glyphs the Unicode text they show.
bool writeList(const Picture& picture, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&f);
    for (const DrawOp& op : picture.ops()) {
        const bool circle = op.kind == DrawOp::Circle;
        QStringList cols{QString::fromLatin1(opKindName(op.kind)), num(op.x1), num(op.y1),
                         num(circle ? op.start : op.x2), num(circle ? op.end : op.y2)};
        const bool text = op.kind == DrawOp::Text || op.kind == DrawOp::Glyph;
        if (text) {
            const FontSpec& fs = op.font;
            const bool glyph = op.kind == DrawOp::Glyph;
            const painting::ShownText t = painting::shownText(op);
            const ResolvedFont& rf = t.font;
            QString shown = t.shown;
            shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
            // Glyphs are listed in the font really made for them.
            const bool bold = glyph ? rf.font.bold() : fs.bold;
            const bool italic = glyph ? rf.font.italic() : fs.italic;
            cols << shown << QFontInfo(rf.font).family() << num(glyph ? rf.em * 0.75 : fs.size)
                 << (bold ? "bold" : "regular") << (italic ? "italic" : "upright");
        } else if (circle) {
            cols << QStringLiteral("r=%1").arg(num(op.rx))
                 << QStringLiteral("aspect=%1").arg(num(op.rx > 0 ? op.ry / op.rx : 1));
        }
        if (op.kind != DrawOp::Copy) cols << hexColor(resolveColor(op.pen.color));
        if (op.angle) cols << QStringLiteral("angle=%1").arg(op.angle);
        if (op.kind == DrawOp::Line || op.kind == DrawOp::Rect || circle)
            cols << QStringLiteral("width=%1").arg(op.pen.width);
        if (text) {
            QString meaning = op.meaning;
            meaning.replace(QLatin1Char('\t'), QLatin1Char(' '));
            cols << meaning;
        }
        out << cols.join(QLatin1Char('\t')) << '\n';
    }
    out.flush();
    return f.error() == QFileDevice::NoError;
}

// A page box as the reader sees it: its own picture with the pictures of the
// boxes it holds (figure boxes) on top.
QImage pageAsShown(PageBox& box) {
    QImage shown = box.canvas().image();
    const auto inner = box.findChildren<PageBox*>(Qt::FindDirectChildrenOnly);
    if (inner.isEmpty()) return shown;
    QPainter p(&shown);
    for (PageBox* child : inner)
        if (child->isVisibleTo(&box)) p.drawImage(child->pos(), child->canvas().image());
    return shown;
}

// The pages as the window shows them at 100 %, one PDF page each of the
// window's client area at 96 dpi: every page box's picture and those of the
// boxes on it (figure boxes, cedar's square) at their places, as vectors.
// Rasterised at twice 96 dpi it is what the window should show at 200 %.
bool writeScreenPdf(Form1& window, const QString& path, QSize client) {
    QPdfWriter pdf(path);
    pdf.setResolution(96);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(client) / 96.0, QPageSize::Inch),
                                  QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!p.begin(&pdf)) return false;
    for (int n = 0; n <= window.lastPage(); ++n) {
        if (n > 0 && !pdf.newPage()) return false;
        window.ShowThisPic(n);
        PageBox& box = window.pic(n);
        std::vector<std::pair<QPoint, const RasterCanvas*>> canvases{{box.pos(), &box.canvas()}};
        for (PageBox* inner : box.findChildren<PageBox*>(Qt::FindDirectChildrenOnly))
            if (inner->isVisibleTo(&box)) canvases.push_back({box.pos() + inner->pos(), &inner->canvas()});
        p.setClipRect(QRect(QPoint(0, 0), client));
        for (const auto& [at, canvas] : canvases) {
            p.save();
            p.translate(at);
            p.setClipRect(QRect(QPoint(0, 0), QSize(canvas->pixelWidth(), canvas->pixelHeight())),
                          Qt::IntersectClip);
            PainterCanvas onPaper(p, canvas->pixelWidth(), canvas->pixelHeight());
            onPaper.replay(canvas->picture());
            p.restore();
        }
    }
    return p.end();
}

// A construct's piece is read from more than one operation.
bool writeFormulas(const PrintedPage& page, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    std::vector<TextPiece> pieces;
    if (page.picture) appendLinearPieces(pieces, *page.picture);
    for (const TextPiece& p : pieces)
        if (p.lastOp > p.firstOp + 1 && !p.text.trimmed().isEmpty())
            f.write(p.text.trimmed().toUtf8() + '\n');
    return f.error() == QFile::NoError;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = openApplication(argc, argv, StartMessages::Drop);
    // Pages drawn for files: nobody is there to hear them.
    setSoundPlayer(makeSilentSoundPlayer());
    QStringList args = QApplication::arguments().mid(1);
    const bool list = args.removeAll(QStringLiteral("--list")) > 0;
    const bool print = args.removeAll(QStringLiteral("--print")) > 0;
    const bool pdf = args.removeAll(QStringLiteral("--pdf")) > 0;
    const bool screenPdf = args.removeAll(QStringLiteral("--screen-pdf")) > 0;
    int send = -1;
    if (const int k = int(args.indexOf(QStringLiteral("--send"))); k >= 0 && k + 1 < args.size()) {
        bool ok = false;
        send = args[k + 1].toInt(&ok);
        if (!ok || send < 0) send = -2;
        args.remove(k, 2);
    }
    if (args.size() != 2 || send == -2) {
        std::fprintf(stderr,
                     "usage: pageshot CHAPTER OUTDIR [--list] [--print] [--pdf] [--screen-pdf] [--send N]\n"
                     "chapters: %s\n",
                     qPrintable(chapterNames().join(QLatin1Char(' '))));
        return 2;
    }
    const QString name = args[0];
    auto chapter = makeChapter(name);
    if (!chapter) {
        std::fprintf(stderr, "pageshot: no chapter named %s (chapters: %s)\n", qPrintable(name),
                     qPrintable(chapterNames().join(QLatin1Char(' '))));
        return 2;
    }
    const QDir outDir(args[1]);
    if (!QDir().mkpath(outDir.path())) {
        std::fprintf(stderr, "pageshot: cannot create %s\n", qPrintable(outDir.path()));
        return 1;
    }
    installFaceSubstitutions();
    SkipWait = 1;  // as if F1 had been pressed before start-up
    Form1 window(*chapter);
    window.Form_Load();
    int failures = 0;
    for (int n = 0; n <= window.lastPage(); ++n) {
        window.ShowThisPic(n);
        QApplication::processEvents();
        const QString base = outDir.filePath(QStringLiteral("%1-p%2").arg(name).arg(n));
        if (!pageAsShown(window.pic(n)).save(base + QStringLiteral(".png"))) {
            std::fprintf(stderr, "pageshot: cannot write %s.png\n", qPrintable(base));
            ++failures;
        }
        if (list && !writeList(window.pic(n).canvas().picture(), base + QStringLiteral(".txt"))) {
            std::fprintf(stderr, "pageshot: cannot write %s.txt\n", qPrintable(base));
            ++failures;
        }
    }
    if (screenPdf) {
        const QString path = outDir.filePath(name + QStringLiteral("-screen.pdf"));
        const ChapterProfile& profile = chapter->profile();
        if (!writeScreenPdf(window, path, QSize(profile.clientWidth, profile.clientHeight))) {
            std::fprintf(stderr, "pageshot: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    if (print || pdf) {
        QString why;
        const std::vector<PrintedPage> paper = printEveryPage(window, &why);
        if (!why.isEmpty()) {
            std::fprintf(stderr, "pageshot: %s\n", qPrintable(why));
            ++failures;
        }
        for (size_t n = 0; print && n < paper.size(); ++n) {
            const QString path =
                outDir.filePath(QStringLiteral("%1-p%2-print.png").arg(name).arg(n));
            if (!paper[n].image.save(path)) {
                std::fprintf(stderr, "pageshot: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
        if (pdf && why.isEmpty()) {
            why = writePdf(paper, outDir.filePath(name + QStringLiteral(".pdf")),
                           chapter->profile().title, name);
            if (!why.isEmpty()) {
                std::fprintf(stderr, "pageshot: %s\n", qPrintable(why));
                ++failures;
            }
        }
        for (size_t n = 0; pdf && list && n < paper.size(); ++n) {
            const QString path =
                outDir.filePath(QStringLiteral("%1-p%2-formulas.txt").arg(name).arg(n));
            if (!writeFormulas(paper[n], path)) {
                std::fprintf(stderr, "pageshot: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    if (send >= 0) {
        if (send > window.lastPage()) {
            std::fprintf(stderr, "pageshot: %s has no page %d\n", qPrintable(name), send);
            return 2;
        }
        setPagePrinter(makeSystemPrinter());
        window.ShowThisPic(send);
        // A page that did not go out is a failure for the script that asked.
        if (!window.cmdPrint_Click()) ++failures;
    }
    return failures ? 1 : 0;
}
