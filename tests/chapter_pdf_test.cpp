// The chapter PDF: what its text layer says of a page drawn by the library,
// and that a PDF is only ever found where asked for whole.
#include "backends/raster_canvas.h"
#include "chapter_pdf.h"
#include "operators.h"
#include "picture.h"
#include "text.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A page in the faces whose character maps mislead: 方 shares its glyph
// with a Kangxi radical, the Symbol face's Γ is the byte "G", an integral is
// two glyphs with its limits above and below, and a formula is set as
// pieces a few pixels apart.
PrintedPage specimenPage() {
    RasterCanvas c(400, 160);
    c.FontName = QStringLiteral("メイリオ");
    c.FontSize = 13;
    float x = 10;
    dsp_text(c, x, 10, QStringLiteral("方法は "));
    dsp_symbolIt(c, x, 10, QStringLiteral("G"));
    x += 6;
    dsp_text(c, x, 10, QStringLiteral("("));
    dsp_symbolIt(c, x, 10, QStringLiteral("n"));
    dsp_var(c, x, 10, QStringLiteral(","));
    x += 3;
    dsp_var(c, x, 10, QStringLiteral("x"));
    dsp_text(c, x, 10, QStringLiteral(")"));
    x = 10;
    dsp_integral(c, x, 70, QStringLiteral("1"), QStringLiteral("-1"));
    x += 4;
    dsp_var(c, x, 70, QStringLiteral("f"));
    dsp_symbol(c, x, 70, QStringLiteral("\xB6"));  // ∂
    return PrintedPage(c.image(), std::make_shared<const Picture>(c.picture()));
}

TEST(ChapterPdf, TheTextLayerReadsAsThePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    ASSERT_EQ(writePdf({specimenPage(), specimenPage()}, path, QStringLiteral("題"), "test"), QString());
    const QString text = run("pdftotext", {"-f", "1", "-l", "1", path, "-"});
    EXPECT_TRUE(text.contains(QStringLiteral("方法は Γ(ν, x)"))) << text.toStdString();
    // The integral in one piece, its limits with it, and a minus sign.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("∫_\\(−1\\)\\^1 ?f∂")))) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2F45))) << "the radical for 方";
    EXPECT_FALSE(text.contains('G')) << text.toStdString();
    // The glyphs already given their characters on page 1 read the same on
    // page 2.
    EXPECT_EQ(run("pdftotext", {"-f", "2", "-l", "2", path, "-"}), text);
    const QString info = run("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Title: +題\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +2\\n"))) << info.toStdString();
    // A reader that takes each glyph's own character gets the integral's
    // pieces, not the Symbol face's Latin letters for their codes.
    const QString plain = run("qpdf", {"--qdf", "--object-streams=disable", path, "-"}).toLower();
    EXPECT_TRUE(plain.contains("<2320>") && plain.contains("<2321>"));
    // The fonts are subsets, embedded.
    const QStringList fonts = run("pdffonts", {path}).split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_GE(fonts.size(), 3);
    for (const QString& f : fonts) EXPECT_TRUE(f.contains(QRegularExpression("^[A-Z]{6}\\+\\S+ .* yes yes yes ")))
                                       << f.toStdString();
}

TEST(ChapterPdf, ACopyIsDrawnAsVectorsAndReadsAsItsSource) {
    RasterCanvas source(200, 60);
    float x = 4;
    dsp_text(source, x, 4, QStringLiteral("写し -2"));
    source.Line(0, 40, 190, 40, 0);
    RasterCanvas c(400, 160);
    c.copyFrom(source, 20, 20, 200, 60, 0, 0);
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.pdf");
    ASSERT_EQ(writePdf({PrintedPage(c.image(), std::make_shared<const Picture>(c.picture()))}, path, "t", "test"),
              QString());
    EXPECT_EQ(run("pdfimages", {"-list", path}).split('\n', Qt::SkipEmptyParts).size(), 2) << "only the header";
    EXPECT_TRUE(run("pdftotext", {path, "-"}).contains(QStringLiteral("写し −2")));
}

TEST(ChapterPdf, APdfIsWrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    // Into a folder that is not there, or onto a folder: nothing at all.
    const QString missing = dir.filePath("no/such/folder/page.pdf");
    const QString why = writePdf({specimenPage()}, missing, "t", "test");
    EXPECT_TRUE(why.startsWith("cannot write " + missing + " (")) << why.toStdString();
    EXPECT_FALSE(why.contains('\n'));
    EXPECT_FALSE(QFile::exists(missing));
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));
    EXPECT_FALSE(writePdf({specimenPage()}, dir.filePath("taken"), "t", "test").isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());
    // Over an earlier file: the new one, and no other file left beside it.
    const QString path = dir.filePath("page.pdf");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("not a PDF");
    old.close();
    ASSERT_EQ(writePdf({specimenPage()}, path, "t", "test"), QString());
    QFile now(path);
    ASSERT_TRUE(now.open(QIODevice::ReadOnly));
    EXPECT_TRUE(now.readAll().startsWith("%PDF-"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"page.pdf"});
}

// Five pages four to a sheet: two sheets, every page's text on its sheet in
// reading order, the outline leading to the sheet of each page; two to a
// sheet, three; a sheet count no handout has, nothing written.
TEST(ChapterPdf, AHandoutPutsItsPagesOnSheetsInReadingOrder) {
    const QStringList words{"第一頁", "第二頁", "第三頁", "第四頁", "第五頁"};
    std::vector<PrintedPage> pages;
    for (const QString& w : words) {
        RasterCanvas c(792, 724);
        float x = 20;
        dsp_text(c, x, 20, "(1) " + w);
        pages.emplace_back(c.image(), std::make_shared<const Picture>(c.picture()));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("handout.pdf");
    ASSERT_EQ(writePdf(pages, path, "t", "test", 4), QString());
    const QString info = run("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size: +841.89 x 595.276 pts \\(A4\\)"))) << "on its side";
    EXPECT_TRUE(info.contains(QRegularExpression("Tagged: +yes\\n")));
    const QString first = run("pdftotext", {"-raw", "-f", "1", "-l", "1", path, "-"});
    qsizetype at = -1;
    for (int i = 0; i < 4; ++i) {
        const qsizetype next = first.indexOf(words[i]);
        EXPECT_GT(next, at) << words[i].toStdString() << " in " << first.toStdString();
        at = next;
    }
    EXPECT_TRUE(run("pdftotext", {"-f", "2", "-l", "2", path, "-"}).contains(words[4]));
    const QString outline = run("qpdf", {"--json", "--json-key=outlines", path});
    EXPECT_EQ(outline.count(QRegularExpression("\"destpageposfrom1\": 1\\b")), 8) << "four pages and their headings";
    EXPECT_EQ(outline.count(QRegularExpression("\"destpageposfrom1\": 2\\b")), 2);

    ASSERT_EQ(writePdf(pages, path, "t", "test", 2), QString());
    const QString two = run("pdfinfo", {path});
    EXPECT_TRUE(two.contains(QRegularExpression("Pages: +3\\n"))) << two.toStdString();
    EXPECT_TRUE(two.contains(QRegularExpression("Page size: +595.276 x 841.89 pts \\(A4\\)")));
    EXPECT_TRUE(run("pdftotext", {"-f", "3", "-l", "3", path, "-"}).contains(words[4]));

    const QString three = dir.filePath("three.pdf");
    EXPECT_FALSE(writePdf(pages, three, "t", "test", 3).isEmpty());
    EXPECT_FALSE(QFile::exists(three));
}

TEST(ChapterPdf, TheOutlineNamesEachPageByItsHeading) {
    const auto page = [](QStringList lines) {
        RasterCanvas c(400, 200);
        float y = 10;
        for (const QString& l : lines) {
            float x = 10;
            dsp_text(c, x, y, l);
            y += 30;
        }
        return PrintedPage(c.image(), std::make_shared<const Picture>(c.picture()));
    };
    const std::vector<PrintedPage> pages{
        page({"F(x) = 1", "次に"}),              // before any section: its first line
        page({"連分数", "(2)  無限連分数", "(3) 次"}),  // the first numbered line, not the title
        page({"R = 1", "続く"}),                  // going on with (2)
        PrintedPage(QImage(400, 160, QImage::Format_RGB32)),
    };
    // Titles in single blanks, none inside a spaced-out word.
    EXPECT_EQ(outlineNames(pages),
              (QStringList{"F(x) = 1", "(2) 無限連分数", "(2) 無限連分数 (続き)",
                           "(2) 無限連分数 (続き)"}));
    EXPECT_EQ(outlineNames({PrintedPage(QImage(4, 4, QImage::Format_RGB32))}), QStringList{"Page 1"});
    // Under each page, every numbered heading it has.
    EXPECT_EQ(outlineHeadings(pages),
              (std::vector<QStringList>{{}, {"(2) 無限連分数", "(3) 次"}, {}, {}}));
    EXPECT_EQ(outlineTitle(QStringLiteral(" (1)  概 要 の x y ")), QStringLiteral("(1) 概要の x y"));
}

}  // namespace
