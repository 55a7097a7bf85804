// pageshot CHAPTER OUTDIR [--list]
//
// Runs a chapter's start-up offscreen with paced drawing skipped, shows every
// page as a reader paging through would, and writes each page box as
// OUTDIR/CHAPTER-pN.png; with --list also OUTDIR/CHAPTER-pN.txt, one line per
// drawing operation of the page as drawn in the real fonts.
#include "chapter_catalog.h"
#include "faces.h"
#include "form1.h"
#include "state.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

namespace {

QString num(double v) { return QString::number(v, 'f', 2); }

// #rrggbb of a canvas colour (red in its lowest byte).
QString hexColor(Color c) {
    return QStringLiteral("#%1%2%3")
        .arg(c & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 8) & 255, 2, 16, QLatin1Char('0'))
        .arg((c >> 16) & 255, 2, 16, QLatin1Char('0'));
}

void writeList(const std::vector<DrawOp>& log, const QString& path) {
    // The page's operations are those from its last clearing on.
    size_t from = 0;
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].kind == DrawOp::Clear) from = i;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "pageshot: cannot write %s\n", qPrintable(path));
        return;
    }
    QTextStream out(&f);
    for (size_t i = from; i < log.size(); ++i) {
        const DrawOp& op = log[i];
        QStringList cols{QString::fromLatin1(opKindName(op.kind)), num(op.x1), num(op.y1),
                         num(op.x2), num(op.y2)};
        if (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) {
            QString text = op.text;
            text.replace(QLatin1Char('\t'), QLatin1Char(' '));
            cols << text << op.face << num(op.size) << (op.bold ? "bold" : "regular")
                 << (op.italic ? "italic" : "upright");
        } else if (op.kind == DrawOp::Circle) {
            cols << QStringLiteral("r=%1").arg(num(op.r))
                 << QStringLiteral("aspect=%1").arg(num(op.aspect));
        }
        if (op.kind != DrawOp::Copy) cols << hexColor(op.color);
        if (op.angle) cols << QStringLiteral("angle=%1").arg(op.angle);
        if (op.kind == DrawOp::Line || op.kind == DrawOp::Rect || op.kind == DrawOp::Circle)
            cols << QStringLiteral("width=%1").arg(op.drawWidth);
        out << cols.join(QLatin1Char('\t')) << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool list = args.removeAll(QStringLiteral("--list")) > 0;
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: pageshot CHAPTER OUTDIR [--list]\nchapters: %s\n",
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
    window.setLogging(list);
    window.Form_Load();
    int failures = 0;
    for (int n = 0; n <= window.lastPage(); ++n) {
        window.ShowThisPic(n);
        app.processEvents();
        const QString base = outDir.filePath(QStringLiteral("%1-p%2").arg(name).arg(n));
        if (!window.pic(n).canvas().image().save(base + QStringLiteral(".png"))) {
            std::fprintf(stderr, "pageshot: cannot write %s.png\n", qPrintable(base));
            ++failures;
        }
        if (list) writeList(window.pic(n).log(), base + QStringLiteral(".txt"));
    }
    return failures ? 1 : 0;
}
