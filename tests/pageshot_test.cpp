// The page renderer run as a reader would run it, on the specimen chapter.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PageshotRun {
    bool finished = false;
    int exitCode = -1;
    std::string err;
};

// pageshot CHAPTER DIR [OPTION...]
PageshotRun pageshot(const QString& chapter, const QString& dir, const QStringList& options = {}) {
    QProcess p;
    p.start(QStringLiteral(PAGESHOT_PATH), QStringList{chapter, dir} + options);
    PageshotRun r;
    r.finished = p.waitForFinished(60000);
    r.exitCode = p.exitCode();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

// Standard output of a command-line tool, empty when it could not run.
QString toolOutput(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST(Pageshot, WritesEveryPageAndItsOperationList) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PageshotRun r = pageshot("specimen", dir.path(), {"--list"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (int n = 0; n < 3; ++n) {
        const QImage img(dir.filePath(QStringLiteral("specimen-p%1.png").arg(n)));
        EXPECT_EQ(img.size(), QSize(774, 729)) << n;
        QFile list(dir.filePath(QStringLiteral("specimen-p%1.txt").arg(n)));
        ASSERT_TRUE(list.open(QIODevice::ReadOnly)) << n;
        const QStringList lines = QString::fromUtf8(list.readAll()).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.first().startsWith("clear\t"));
        for (const QString& line : lines) {
            const QStringList cols = line.split('\t');
            if (cols[0] == "text" || cols[0] == "glyph") {
                ASSERT_GE(cols.size(), 11) << line.toStdString();
                EXPECT_TRUE(cols[10].startsWith('#'));
            }
        }
    }
    // The specimen page shows Wingdings glyphs through their substitute.
    QFile p0(dir.filePath("specimen-p0.txt"));
    ASSERT_TRUE(p0.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(p0.readAll()).contains("Noto Sans Symbols2"));
}

TEST(Pageshot, RefusesAnUnknownChapter) {
    QTemporaryDir dir;
    const PageshotRun r = pageshot("nosuch", dir.path());
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(Pageshot, ExportsAChapterAsOnePdfWithTextAndItsFiguresAsVectors) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PageshotRun r = pageshot("larch", dir.path(), {"--pdf"});
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QString pdf = dir.filePath("larch.pdf");

    const QString info = toolOutput("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +3\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Title: +格子振動とベッセル関数\n")))
        << info.toStdString();
    // Page 0 on paper carries the chapter title, as text: the ideographs
    // themselves, not the radicals the face draws with the same glyphs
    // (U+2F26 for 子).
    const QString page0 = toolOutput("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    EXPECT_TRUE(page0.contains("格子振動とベッセル関数")) << page0.toStdString();
    EXPECT_FALSE(page0.contains(QChar(0x2F26))) << page0.toStdString();
    const QString fonts = toolOutput("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains(
        QRegularExpression("[A-Z]{6}\\+NotoSansCJKjp-Regular +CID Type 0C +Identity-H +yes yes yes")))
        << fonts.toStdString();
    // The chain figures of pages 0 and 1 are pixel copies on screen, drawn
    // from their source as vectors: no image at all.
    const QStringList images =
        toolOutput("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_TRUE(images.isEmpty()) << images.join('\n').toStdString();
}
