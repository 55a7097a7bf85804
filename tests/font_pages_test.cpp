// Letting the font files' pages go between start-up pages: the process holds
// less of them, and glyphs read through the same face afterwards are drawn
// exactly as through a face opened afresh.
#include "font_pages.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Resident kilobytes of the CJK font files mapped into this process.
long cjkFontKb() {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression mapping(QStringLiteral("^[0-9a-f]+-[0-9a-f]+ "));
    static const QRegularExpression rss(QStringLiteral("^Rss:\\s+(\\d+) kB"));
    long kb = 0;
    bool cjk = false;
    for (const QByteArray& raw : smaps.readAll().split('\n')) {
        const QString line = QString::fromLocal8Bit(raw);
        if (mapping.match(line).hasMatch()) cjk = line.contains(QLatin1String("CJK"));
        else if (const auto m = rss.match(line); cjk && m.hasMatch()) kb += m.captured(1).toLong();
    }
    return kb;
}

QImage prose(const QString& text) {
    QImage image(720, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont f(QStringLiteral("Noto Sans CJK JP"));
    f.setPixelSize(17);
    p.setFont(f);
    p.drawText(QPointF(4, 40), text);
    return image;
}

}  // namespace

TEST(FontPages, LetGoTheyCostTheProcessLessAndGlyphsReadAfterwardsAreTheSame) {
    prose(QStringLiteral("熱力学の魔方陣は偏微分の関係を覚える図式です．連分数の収束と誤差。"));
    const long held = cjkFontKb();
    ASSERT_GT(held, 0) << "no CJK face mapped";
    EXPECT_GE(shell::releaseFontFilePages(), 1);
    EXPECT_LT(cjkFontKb(), held);
    // Characters not drawn before: their outlines are read through the
    // mapping just let go, and against a face another thread opens anew.
    const QString fresh = QStringLiteral("固有値と行列式，波動方程式の境界条件，級数展開の剰余項。");
    const QImage again = prose(fresh);
    QImage apart;
    std::thread([&] { apart = prose(fresh); }).join();
    EXPECT_NE(apart, prose(QString()));  // drawn, not blank
    EXPECT_EQ(again, apart);
}
