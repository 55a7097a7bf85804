// The page renderer run as a reader would run it, on the specimen chapter.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Pageshot, WritesEveryPageAndItsOperationList) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess p;
    p.start(QStringLiteral(PAGESHOT_PATH), {"specimen", dir.path(), "--list"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
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
    QProcess p;
    p.start(QStringLiteral(PAGESHOT_PATH), {"nosuch", dir.path()});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}
