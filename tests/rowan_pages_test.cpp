// The FFT chapter's pages on the recording canvas (layout arithmetic with the
// fixed metric: UnitW 6.5, UnitH 19.5, LeftX 13, TabX2 46, TabX3 78, FarX
// 338), and once in the real fonts to see that nothing collides or runs off.
#include "rowan/rowan_chapter.h"

#include "faces.h"
#include "backends/raster_canvas.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "text.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <map>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

class RowanPages : public ChapterTest<RowanChapter> {
protected:
    void SetUp() override {
        ChapterTest::SetUp();
        SupSize = 0.85f;  // as page 0 leaves it for the run
    }

    std::vector<DrawOp> draw(int page) {
        canvas.ops.clear();
        chapter.drawPage(page);
        return canvas.texts();
    }

    static size_t indexOf(const std::vector<DrawOp>& ops, const QString& text, size_t from = 0) {
        for (size_t i = from; i < ops.size(); ++i)
            if (ops[i].text == text) return i;
        ADD_FAILURE() << "no " << text.toStdString();
        return ops.size() - 1;
    }
};

bool isEquationNumber(const DrawOp& op) {
    static const QRegularExpression re(QStringLiteral("^\\[\\d+\\]$"));
    return re.match(op.text).hasMatch();
}

}  // namespace

TEST_F(RowanPages, EquationNumbersStandInTheirColumnAndComeBeforeTheFormula) {
    // [8] and [9] are three units further right; the rest at FarX.
    const std::map<QString, double> column{
        {"[1]", 338}, {"[2]", 338}, {"[3]", 338}, {"[4]", 338}, {"[5]", 338}, {"[6]", 338},
        {"[7]", 338}, {"[8]", 357.5}, {"[9]", 357.5}, {"[10]", 338}, {"[11]", 338}};
    std::map<QString, int> seen;
    for (int page = 0; page < 5; ++page) {
        const std::vector<DrawOp> t = draw(page);
        for (size_t i = 0; i < t.size(); ++i) {
            if (!isEquationNumber(t[i])) continue;
            ++seen[t[i].text];
            EXPECT_DOUBLE_EQ(t[i].x1, column.at(t[i].text)) << t[i].text.toStdString();
            EXPECT_EQ(t[i].font.size, 13.0);
            // The recurrence's number stands between its two lines, after the
            // first; every other number opens its formula's line at TabX2.
            if (t[i].text == QLatin1String("[10]")) continue;
            ASSERT_LT(i + 1, t.size());
            EXPECT_DOUBLE_EQ(t[i + 1].x1, 46) << t[i].text.toStdString();
            EXPECT_DOUBLE_EQ(t[i + 1].y1, t[i].y1) << t[i].text.toStdString();
        }
    }
    EXPECT_EQ(seen.size(), 11u);
    for (const auto& [number, count] : seen) EXPECT_EQ(count, 1) << number.toStdString();
}

TEST_F(RowanPages, ExponentOfEightIsSmallerAndTheSizeComesBackAfterItsUpperLimit) {
    const std::vector<DrawOp> t = draw(2);
    const size_t n = indexOf(t, QStringLiteral("[8]"));
    const double row = t[n].y1;
    // The exponent jkN / 2^p: 10 pixels up, at 0.9 of the page size (italic
    // letters 1.15 times that).
    const size_t j = indexOf(t, QStringLiteral("j"), indexOf(t, QStringLiteral("ω"), n));
    EXPECT_DOUBLE_EQ(t[j].y1, row - 10);
    EXPECT_NEAR(t[j].font.size, 11.7 * 1.15, 1e-4);
    const size_t slash = indexOf(t, QStringLiteral("/"), j);
    EXPECT_NEAR(t[slash].font.size, 11.7, 1e-4);
    EXPECT_DOUBLE_EQ(t[slash].y1, row - 10);
    // The ranges after it are back on the row, still at 0.9.
    const size_t p = indexOf(t, QStringLiteral("p"), indexOf(t, QStringLiteral(" "), slash));
    EXPECT_DOUBLE_EQ(t[p].y1, row);
    EXPECT_NEAR(t[p].font.size, 11.7 * 1.15, 1e-4);
    const size_t equals2 = indexOf(t, QStringLiteral(" = 2"), p);
    EXPECT_NEAR(t[equals2].font.size, 11.7, 1e-4);

    // The upper limit 2^p - 1 above the sum sign (drawn right after it, as
    // part of the sum), at 0.85 of the page size: 30 pixels left of the
    // sign's end, 22 above the row.
    size_t sigma = n;
    while (t[sigma].text != QString(QChar(229))) ++sigma;
    const size_t two = indexOf(t, QStringLiteral("2"), sigma);
    EXPECT_LT(two, j);
    EXPECT_NEAR(t[two].font.size, 11.05, 1e-4);
    EXPECT_DOUBLE_EQ(t[two].x1, t[sigma].x2 - 30);
    EXPECT_DOUBLE_EQ(t[two].y1, row - 22);
    const size_t one = indexOf(t, QStringLiteral("1"), two);
    EXPECT_NEAR(t[one].font.size, 11.05, 1e-4);
    EXPECT_EQ(t[one - 1].font.face, QStringLiteral("Courier New"));

    // Everything after the row is at the page size again.
    const size_t k = indexOf(t, QStringLiteral("k"), equals2);
    EXPECT_DOUBLE_EQ(t[k].x1, 78);
    EXPECT_NEAR(t[k].font.size, 13 * 1.15, 1e-4);
    for (size_t i = k; i < t.size(); ++i) EXPECT_GE(t[i].font.size, 13 * 0.85 * 0.85 - 1e-4);
    EXPECT_EQ(canvas.FontSize, 13.0f);
}

TEST_F(RowanPages, SeparateUpperLimitsSitAboveTheirSumSigns) {
    for (int page : {3, 4}) {
        const std::vector<DrawOp> t = draw(page);
        int sums = 0;
        for (size_t i = 0; i + 1 < t.size(); ++i) {
            if (t[i].text != QString(QChar(229))) continue;
            ++sums;
            // The sign is drawn half a line above its row; the limit, drawn
            // right after it, 22 pixels above the row.
            const DrawOp& limit = t[i + 1];
            EXPECT_NEAR(limit.font.size, 11.05, 1e-4);
            EXPECT_DOUBLE_EQ(limit.x1, t[i].x2 - 26);
            EXPECT_NEAR(limit.y1, t[i].y1 + 9.75 - 22, 0.5);
            // ... and the formula goes on after the sign, on its row, at the
            // page size.
            const double row = t[i].y1 + 9.75;
            size_t k = i + 1;
            while (k < t.size() && std::fabs(t[k].y1 - row) > 1) ++k;
            ASSERT_LT(k, t.size());
            EXPECT_GE(t[k].x1, t[i].x2);
            EXPECT_GE(t[k].font.size, 13.0);
        }
        EXPECT_EQ(sums, page == 3 ? 1 : 7);
        EXPECT_EQ(canvas.FontSize, 13.0f);
    }
}

TEST_F(RowanPages, DiagramBlocksKeepTheirPixelSizeWhileUnitsMoveThem) {
    const auto blocks = [&] {
        std::vector<DrawOp> out;
        for (const DrawOp& op : canvas.ops)
            if (op.kind == DrawOp::FilledRect && op.pen.color == RGB(128, 255, 128)) out.push_back(op);
        return out;
    };
    for (double w : {6.5, 10.33}) {
        UnitW = float(w);
        UnitH = float(3 * w);
        deriveLayoutStops(10);
        draw(3);
        const std::vector<DrawOp> b = blocks();
        ASSERT_EQ(b.size(), 2u);
        EXPECT_DOUBLE_EQ(b[0].x2 - b[0].x1, 72);
        EXPECT_DOUBLE_EQ(b[0].y2 - b[0].y1, 168);
        EXPECT_DOUBLE_EQ(b[1].x2 - b[1].x1, 144);
        EXPECT_DOUBLE_EQ(b[1].y2 - b[1].y1, 84);
        EXPECT_NEAR(b[0].x1, LeftX + 5 * UnitW, 1e-4);
        EXPECT_NEAR(b[1].x1, LeftX + 16.5 * UnitW, 1e-4);
        // The right block stands level with the middle half of the left one.
        EXPECT_DOUBLE_EQ(b[1].y1 - b[0].y1, 42);
        // Each block has a blue outline over it and a dotted cut through it.
        int outlines = 0, cuts = 0;
        for (const DrawOp& op : canvas.ops) {
            if (op.kind == DrawOp::Rect && op.pen.color == colBlue) ++outlines;
            if (op.kind == DrawOp::Line && op.pen.color == colBlue) ++cuts;
        }
        EXPECT_EQ(outlines, 2);
        EXPECT_EQ(cuts, 2);
        EXPECT_EQ(canvas.DrawStyle_, DrawStyle::Solid);
        EXPECT_FALSE(canvas.FontBold);
    }
}

TEST_F(RowanPages, PageThreeHeadingIsBlueAndTheTextColourComesBack) {
    const Color before = RGB(1, 2, 3);
    canvas.ForeColor = before;
    const std::vector<DrawOp> t = draw(3);
    const size_t end = indexOf(t, QStringLiteral("  を求める."));
    for (size_t i = 0; i <= end; ++i) EXPECT_EQ(t[i].pen.color, colBlue) << i;
    // The X's of the heading carry their superscripts.
    EXPECT_EQ(std::count_if(t.begin(), t.begin() + long(end),
                            [](const DrawOp& op) { return op.text == QLatin1String("X"); }),
              2);
    ASSERT_LT(end + 1, t.size());
    EXPECT_EQ(t[end + 1].pen.color, before);
    EXPECT_EQ(canvas.ForeColor, before);
}

// The rewritten ranges end one sentence; the matrix of stage p begins the
// next line at the margin, and all below it follows one line lower.
TEST_F(RowanPages, PageThreeBreaksTheLineBeforeTheStageSentence) {
    const std::vector<DrawOp> t = draw(3);
    const DrawOp& end = t[indexOf(t, QStringLiteral("と書き直せます．"))];
    const DrawOp& next = t[indexOf(t, QStringLiteral("段階 "))];
    EXPECT_DOUBLE_EQ(next.x1, 13);  // LeftX
    EXPECT_NEAR(next.y1 - end.y1, 19.5, 1e-4);
    EXPECT_NEAR(t[indexOf(t, QStringLiteral(" の間には"))].y1 - next.y1, 1.2 * 19.5,
                1e-3);
    // The heading alone stands 3 px down, so that its superscripts stay on
    // the page; the line after it starts where it did.
    EXPECT_DOUBLE_EQ(t[0].y1, 3);
    EXPECT_NEAR(t[indexOf(t, QStringLiteral("式を見やすくするために"))].y1, 1.5 * 19.5, 1e-4);
}

// With the real faces: no equation number touches its formula, and the
// recurrence's brace stands clear of both of its lines.
TEST(RowanPagesRaster, NumbersAndBracesStandClearOfTheirFormulas) {
    RowanChapter chapter;
    RealFacePage real(chapter);
    const auto overlaps = [](const DrawOp& a, const DrawOp& b) {
        return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
    };
    for (int n = 0; n < 5; ++n) {
        for (int printing : {0, 1}) {
            Printing = printing;
            chapter.drawPage(n);
            const std::vector<DrawOp> t = real.texts();
            for (const DrawOp& number : t) {
                if (!isEquationNumber(number)) continue;
                // The cell of a text is taller than its ink; a neighbour on
                // the row must end a few pixels before the number.
                DrawOp zone = number;
                zone.x1 -= 4;
                for (const DrawOp& op : t)
                    if (&op != &number && op.angle == 0 && overlaps(zone, op))
                        ADD_FAILURE() << "page " << n << ": " << number.text.toStdString()
                                      << " meets " << op.text.toStdString();
            }
        }
    }
    Printing = 0;

    // [10]: the right brace (Symbol pieces 252 ... 254) right of every piece
    // of the two lines it encloses.
    chapter.drawPage(3);
    const std::vector<DrawOp>& log = real.ops();
    double braceX = 0, braceTop = 1e9, braceBottom = 0;
    // (The diagram's alpha marks use the same pieces; they come after the
    // first block.)
    for (const DrawOp& op : log) {
        if (op.kind == DrawOp::FilledRect) break;
        if (op.kind == DrawOp::Glyph && op.text.size() == 1 && op.text[0].unicode() >= 252 &&
            op.text[0].unicode() <= 254) {
            braceX = op.x1;
            braceTop = std::min(braceTop, op.y1);
            braceBottom = std::max(braceBottom, op.y2);
        }
    }
    ASSERT_GT(braceX, 0);
    for (const DrawOp& op : log) {
        if ((op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) && op.y1 > braceTop &&
            op.y2 < braceBottom && op.x1 < braceX) {
            EXPECT_LE(op.x2, braceX) << op.text.toStdString();
        }
    }
}
