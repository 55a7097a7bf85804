// Formulas as linear text: what each construct reads as, and what every
// page of the chapters reads as in Ctrl+C and --text.
#include "constructs.h"
#include "linear_text.h"
#include "markup.h"
#include "operators.h"
#include "page_reading.h"
#include "page_text.h"
#include "pen.h"
#include "support/chapter_window.h"
#include "support/library_fixture.h"
#include "symbols.h"
#include "text.h"

#include <QRegularExpression>

namespace {

class LinearText : public LibraryTest {
protected:
    QString read() const {
        std::vector<TextPiece> pieces;
        appendPieces(pieces, canvas.picture());
        return readingLines(pieces).join(QLatin1Char('\n'));
    }
};

}  // namespace

TEST_F(LinearText, ScriptsFractionsAndSignsReadInTheNotation) {
    prVar("x");
    prSup("2");
    pr(" + ");
    prVarSub("c", "n-k");
    prMinus();
    prFrac("2", "N");
    pr(" + ");
    prFrac("j-1", "2N");
    prDot("x");
    prVar("J");
    prPrime();
    prSub("2n");
    EXPECT_EQ(read().toStdString(), "x^2 + c_(n−k)−2/N + (j−1)/(2N) x\u0307J′_(2n)");
}

TEST_F(LinearText, LimitsStayWithTheirSignAndRadicandsUnderTheirRule) {
    dsp_sum(canvas, PenX, PenY, "k=0", "n");
    Skip(4);
    prVarSub("c", "k");
    Skip(2);
    prVarSub("T", "k");
    pr(" + ");
    dsp_integral(canvas, PenX, PenY, "2pi", "0");
    prVar("f");
    pr(" + ");
    // A radical as the pages draw it: the sign, then their own rule over
    // the radicand.
    float x = PenX;
    dsp_sqrt(canvas, x, PenY + 4, 0);
    canvas.Line(x, PenY + 5, x + 4, PenY - 13, 0);
    canvas.Line(x + 4, PenY - 13, x + 50, PenY - 13, 0);
    PenX = x + 6;
    pr("1");
    prMinus();
    prEpsln();
    prSup("2");
    PenX = x + 60;
    pr(" = b");
    EXPECT_EQ(read().toStdString(), "∑_(k=0)^n c_k T_k + ∫_0^(2π) f + √(1−ε^2) = b");
}

TEST_F(LinearText, APictureDrawnAgainElsewhereKeepsItsConstructs) {
    pr("a = ");
    prFrac("2", "N");
    const size_t half = canvas.picture().ops().size();
    prVar("x");
    prSup("n-1");
    // Drawn again whole, and in two goes as a zoomed page box follows its
    // page; then the page cleared.
    RecordingCanvas whole, twice;
    whole.replay(canvas.picture());
    twice.replay(canvas.picture(), 0);
    EXPECT_EQ(linearText(twice.picture(), 0), "2/N");
    whole.Cls();
    whole.replay(canvas.picture(), half);
    std::vector<TextPiece> pieces;
    appendPieces(pieces, whole.picture());
    EXPECT_EQ(readingLines(pieces).join('\n').toStdString(), "x^(n−1)");
    pieces.clear();
    appendPieces(pieces, twice.picture());
    EXPECT_EQ(readingLines(pieces).join('\n'), read());
}

TEST_F(LinearText, PartsSetApartFromTheirBarReadWithIt) {
    // Two bars first, their numerators and denominators after, as a row of
    // hand-set terms is drawn; then a staircase level whose numerator came
    // before its bar.
    const float y = PenY;
    const int first = drawConstruct(canvas, Group::Fraction, [] { pr("───"); });
    pr(" + ");
    const float x2 = PenX;
    const int second = drawConstruct(canvas, Group::Fraction, [] { pr("───"); });
    PenY = y - 12;
    PenX = x2;
    drawPartOf(canvas, second, Group::Numerator, [] { prUpright("sin"); prVar("x"); });
    PenX = 21;
    drawPartOf(canvas, first, Group::Numerator, [] { pr("1"); });
    PenY = y + 12;
    drawPartOf(canvas, first, Group::Denominator, [] { pr("2"); });
    PenX = x2;
    drawPartOf(canvas, second, Group::Denominator, [] { pr("3"); });
    EXPECT_EQ(read().toStdString(), "1/2 + (sin x)/3");
}

TEST_F(LinearText, AFigureIsReadAsItsDescriptionWhenSpoken) {
    pr("前");
    {
        Construct figure(canvas, Group::Figure);
        canvas.describe("グラフ：y = x^2");
        PenX = 300;
        pr("0.5");
    }
    std::vector<TextPiece> pieces;
    appendPieces(pieces, canvas.picture(), QPointF(), 0, true);
    EXPECT_EQ(readingLines(pieces), (QStringList{"前", "グラフ：y = x^2"}));
    EXPECT_EQ(read(), QStringLiteral("前\nグラフ：y = x^2\n0.5"));
    // A copy of the picture drawn elsewhere keeps what its figure says.
    Picture copy;
    for (const DrawOp& op : canvas.picture().ops()) copy.add(op);
    copy.appendGroups(canvas.picture(), 0);
    ASSERT_EQ(copy.groups().size(), 1u);
    EXPECT_EQ(copy.description(0), QStringLiteral("グラフ：y = x^2"));
}

TEST(ChapterText, EveryPageReadsItsFormulasInOnePiece) {
    const QRegularExpression barsAlone(QStringLiteral("^[─―\\s]+$"));
    std::map<QString, QString> text;
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        for (int n = 0; n <= w.window().lastPage(); ++n) {
            PageBox& box = w.window().pic(n);
            const QString page = pageText(box);
            text[name] += page;
            const std::string where = name.toStdString() + " page " + std::to_string(n);
            // Every script the page drew has its marker (limits are read
            // as the sign's, a script drawn in two calls as one).
            const std::vector<Group>& groups = box.canvas().picture().groups();
            qsizetype scripts = 0;
            for (size_t k = 0; k < groups.size(); ++k) {
                const Group& g = groups[k];
                if ((g.kind != Group::Superscript && g.kind != Group::Subscript) || g.last == g.first) continue;
                const Group::Kind in = g.parent >= 0 ? groups[size_t(g.parent)].kind : Group::Row;
                const bool continued = k > 0 && groups[k - 1].kind == g.kind && groups[k - 1].last == g.first;
                if (in != Group::Lower && in != Group::Upper && !continued) ++scripts;
            }
            EXPECT_GE(page.count(QLatin1Char('^')) + page.count(QLatin1Char('_')), scripts) << where;
            // Every figure says what it shows, and the reader hears it.
            const QString spoken = pageText(box, true);
            for (size_t k = 0; k < groups.size(); ++k) {
                if (groups[k].kind != Group::Figure) continue;
                const QString said = box.canvas().picture().description(k);
                EXPECT_FALSE(said.isEmpty()) << where << ": figure " << k << " undescribed";
                EXPECT_TRUE(page.contains(said)) << where << ": " << said.toStdString();
                EXPECT_TRUE(spoken.contains(words(said))) << where << ": " << said.toStdString();
            }
            for (const QString& line : page.split(QLatin1Char('\n')))
                EXPECT_FALSE(barsAlone.match(line).hasMatch()) << where << ": a line of bars";
        }
    }
    // Real formulas of several chapters, as a reader would type them.
    const std::pair<const char*, const char*> formulas[] = {
        {"rowan", "N^2 = 10^6"},
        {"rowan", "p = 0 ～ n，N = 2^n [9]"},  // the number after its formula
        {"rowan", "k_n = (2πn)/(Nh) という"},  // a slash for its bar
        {"hazel", "f(x)  ～  ∑_(k=0)^n c_k T_k(x)"},
        {"hazel", "(T_k, T_l) = ∑_(j=1)^N T_k(x_j)T_l(x_j)"},
        {"alder", "ΔR_n = ((−1)^(n+1)b_1 b_2⋯ b_(n+1))/(F_n F_(n+1))"},
        {"alder", "e^(−x)x^(ν−1)×"},
        {"maple", "2/π ∫_0^π"},
        // Case blocks, with and without a brace drawn.
        {"hazel", "(T_k, T_l)  =  {■(N/2 & (k = l ≠ 0) @ N & (k = l = 0) @ 0 & (k ≠ l))┤"},
        {"maple", "(1−cos nπ)  =  {■(4/(nπ) & (n = 奇数) @ 0 & (n = 偶数))┤"},
        // Bars drawn before or apart from their parts.
        {"alder", "R = b_1/(a_1+  b_2/(a_2+  b_3/(a_3+ ⋯)))"},
        {"alder", "R_n = b_1/(a_1+  b_2/(a_2+  b_3/(a_3+ ⋯ +  b_n/a_n)))"},  // "⋯ +" in its bar's run
        {"alder", " = (G_n + b_(n+1)/a_(n+1)G_(n−1))/(F_n + b_(n+1)/a_(n+1)F_(n−1)) = G_(n+1)/F_(n+1)"},
        {"maple", "4/π ((sin x)/1 + (sin 3x)/3 + (sin 5x)/5 + ⋯)"},
        {"maple", "4/π (sin(2Nx))/(2 sin x)"},
        {"maple", "(sin((2N−1)π/(2N)))/(2N−1))"},  // π set after its fraction's bar
        {"hazel", "= (sin 2Nθ)/(2 sin θ)"},
        {"rowan", "∑_(j=0)^(2^p−1) f(jN/2^p + l)ω^(jkN/2^p)"},
        // A name and its argument apart; an absolute value as one operand.
        {"larch", "ω = sin(|q|/2)"},
        {"birch", "r = √((x−aε)^2 + y^2) = (1−ε cos u)a"},
    };
    for (const auto& [name, formula] : formulas)
        EXPECT_TRUE(text[name].contains(QString::fromUtf8(formula))) << name << ": " << formula;
}

TEST(ChapterText, SpokenFormulasCanBeWrittenDownAgain) {
    ChapterWindow w("hazel");
    const QString p0 = pageText(w.window().pic(0), true), p2 = pageText(w.window().pic(2), true);
    for (const char* heard : {"x の 2 乗 イコール 2 分の 1 (T サブ 2 (x) プラス 1)",
                              "e の x 乗 ～ 1 プラス x プラス 2 分の 1 x の 2 乗"})
        EXPECT_TRUE(p0.contains(QString::fromUtf8(heard))) << heard << "\n" << p0.toStdString();
    for (const char* heard : {"f(x) ～ k イコール 0 から n までの総和 c サブ k T サブ k (x)",
                              "c サブ k イコール N 分の 2",
                              "イコール 場合分け 2 分の N (k イコール l ノットイコール 0)、 N (k イコール l イコール 0)、 0 (k ノットイコール l) 場合分け終わり"})
        EXPECT_TRUE(p2.contains(QString::fromUtf8(heard))) << heard << "\n" << p2.toStdString();
    // A bracket heard closes on what it holds.
    ChapterWindow orbit("birch");
    const QString p1 = pageText(orbit.window().pic(1), true);
    EXPECT_TRUE(p1.contains(QString::fromUtf8("(1 マイナス ε の 2 乗)a"))) << p1.toStdString();
}

TEST(ReadingLines, AFigureLabelBesideTheProseStaysOutOfItsLine) {
    TextPiece prose{QRectF(21, 100, 200, 24.6), "テイラー級数を"};
    TextPiece label{QRectF(400, 102, 20, 20), "0.5"};
    EXPECT_EQ(readingLines({prose, label}), QStringList{"テイラー級数を 0.5"});
    label.block = 1;
    EXPECT_EQ(readingLines({prose, label}), (QStringList{"テイラー級数を", "0.5"}));
}
