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
    // A brace, a dot or a script on a line of its own is a formula come apart.
    const QRegularExpression pieceAlone(QStringLiteral("^\\s*([{}・]|[\\^_]\\S*)(\\s|[・θ̇{}])*$"));
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
            for (const QString& line : page.split(QLatin1Char('\n'))) {
                EXPECT_FALSE(barsAlone.match(line).hasMatch()) << where << ": a line of bars";
                // The specimen shows braces alone, as samples.
                const bool alone = name != QLatin1String("specimen") && pieceAlone.match(line).hasMatch();
                EXPECT_FALSE(alone) << where << ": \"" << line.toStdString() << "\" alone";
            }
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
        {"alder", " = (G_n + b_(n+1)/a_(n+1) G_(n−1))/(F_n + b_(n+1)/a_(n+1) F_(n−1)) = G_(n+1)/F_(n+1)"},
        {"maple", "4/π ((sin x)/1 + (sin 3x)/3 + (sin 5x)/5 + ⋯)"},
        {"maple", "4/π (sin(2Nx))/(2 sin x)"},
        {"maple", "(sin((2N−1)π/(2N)))/(2N−1))"},  // π set after its fraction's bar
        {"hazel", "= (sin 2Nθ)/(2 sin θ)"},
        {"rowan", "∑_(j=0)^(2^p−1) f(jN/2^p + l)ω^(jkN/2^p)"},
        // Built up by hand on the page, read as one construct.
        {"cedar", "(∂^2 f)/(∂x∂y) ＝ (∂^2 f)/(∂y∂x)"},
        {"cedar", "(9)  定圧比熱と定積比熱の関係：C_p＝C_V＋(TVβ^2)/κ_T\n"},
        {"birch", "S\u0307 = 1/2 r^2 θ\u0307 = const"},
        {"birch", "{■(x = r cos θ + aε @ y = r sin θ)┤"},
        {"rowan", "├■(X^(p+1)_(k,l) ＝ X^(p)_(k,l) ＋ ω^(kβ)X^(p)_(k,l+β) @ X^(p+1)_(k+α,l) ＝ X^(p)_(k,l) − ω^(kβ)X^(p)_(k,l+β))} [10]"},
        // A fraction after a factor, a differential after its integrand.
        {"larch", "4 d^2/(dx^2) J_n(x) ＝ 2 d/(dx) J_(n−1)(x)−2 d/(dx) J_(n+1)(x)"},
        {"maple", "1/π ∫_(−π)^π f(x) sin nx dx  =  2/π ∫_0^π sin nx dx"},
        {"birch", "∫_0^T sin u (du)/(dt) sin nωt dt"},
        {"cedar", "∂/∂S (∂H/∂p)_S ＝ ∂/∂p (∂H/∂S)_p"},
        // The square says which letters it shows.
        {"cedar", "図：熱力学の魔方陣。文字は 上 V F T，中 U G，下 S H p。"},
        // A name and its argument apart; an absolute value as one operand.
        {"larch", "ω = sin(|q|/2)"},
        {"birch", "r = √((x−aε)^2 + y^2) = (1−ε cos u)a"},
    };
    for (const auto& [name, formula] : formulas)
        EXPECT_TRUE(text[name].contains(QString::fromUtf8(formula))) << name << ": " << formula;
}

// One table of rules hears every construct, typed or drawn: the listener
// can tell where each fraction and script ends.
TEST(SpokenText, EveryConstructIsHeardByOneTableOfRules) {
    const std::pair<const char*, const char*> heard[] = {
        {"1/720", "720 分の 1"},
        {"2/N", "分数 2 オーバー N 分数終了"},
        {"x(t)/a = cos u(t)", "分数 x(t) オーバー a 分数終了 イコール cos u(t)"},
        {"(2N−1)π/(2N)", "分数 (2N マイナス 1)π オーバー 2N 分数終了"},
        {"b_(n+1)/a_(n+1)G_(n−1)",
         "分数 b 下付き n プラス 1 下付き終了 オーバー a 下付き n プラス 1 下付き終了 分数終了 G 下付き n マイナス 1 下付き終了"},
        {"その値は，sin x / x を", "その値は，分数 sin x オーバー x 分数終了 を"},
        {"e^(−ikx) c_k T_k(x)", "e の 上付き マイナス ikx 上付き終了 c サブ k T サブ k (x)"},
        {"10^(−10) と n^(−1/3)", "10 の 上付き マイナス 10 上付き終了 と n の 上付き マイナス 3 分の 1 上付き終了"},
        {"∑_(k=0)^n c_k + ∑_j", "k イコール 0 から n までの総和 c サブ k プラス j についての総和"},
        {"∫_0^(2π) f", "0 から 2π までの積分 f"},
        {"lim_(N→∞) S_N", "N を 無限大 に近づけたときの極限 S サブ N"},
        {"√(1−ε^2) √2", "ルート かっこ 1 マイナス ε の 2 乗 かっこ閉じ ルート 2"},
        {"x\u0307 + J′_(2n)", "x ドット プラス J プライム 下付き 2n 下付き終了"},
        {"A(q)^* 3!", "A(q) の共役 3 の階乗"},
        {"k = 1 ～ n，[1] ～ [4]，e^x ～ 1 + x",
         "k イコール 1 から n，[1] から [4]，e の x 乗 ニアリーイコール 1 プラス x"},
        {"−1 ≦ x ≦ 1, x = ±1, ΔR ≡ R", "マイナス 1 小なりイコール x 小なりイコール 1, x イコール プラスマイナス 1, ΔR 恒等的に等しい R"},
        {"|q|/2 + T_(|k−l|)", "分数 q の絶対値 オーバー 2 分数終了 プラス T 下付き 絶対値 k マイナス l 絶対値終了 下付き終了"},
        {"{■(N/2 & (k = l ≠ 0) @ 0 & (k ≠ l))┤",
         "場合分け 分数 N オーバー 2 分数終了 (k イコール l ノットイコール 0)、 0 (k ノットイコール l) 場合分け終わり"},
    };
    for (const auto& [text, spoken] : heard)
        EXPECT_EQ(words(QString::fromUtf8(text)).toStdString(), spoken) << text;
}

// Nothing of the notation is left in any chapter's spoken text, and the
// pages' own formulas are heard whole.
TEST(ChapterText, SpokenTextHoldsOnlyWords) {
    const QRegularExpression notation(QStringLiteral("[/^_\\x{2261}\\x{FF5E}±\\x{2266}\\x{221E}\\x{2192}\\x{1F87A}\\x{221A}\\x{2211}\\x{222B}]"));
    std::map<QString, QString> spoken;
    for (const QString& name : chapterNames()) {
        ChapterWindow w(name);
        for (int n = 0; n <= w.window().lastPage(); ++n) {
            const QString page = pageText(w.window().pic(n), true);
            const QRegularExpressionMatch m = notation.match(page);
            EXPECT_FALSE(m.hasMatch()) << name.toStdString() << " p" << n << ": \""
                                       << m.captured().toStdString() << "\" in\n" << page.toStdString();
            spoken[name] += page + QLatin1Char('\n');
        }
    }
    const std::pair<const char*, const char*> heard[] = {
        {"hazel", "x の 2 乗 イコール 2 分の 1 (T サブ 2 (x) プラス 1)"},
        {"hazel", "f(x) ニアリーイコール k イコール 0 から n までの総和 c サブ k T サブ k (x)"},
        {"birch", "(1 マイナス ε の 2 乗)a"},
        {"birch", "分数 x(t) オーバー a 分数終了 イコール cos u(t)"},
        {"rowan", "ω イコール e の 上付き マイナス 分数 2πi オーバー N 分数終了 上付き終了"},
        {"cedar", "p イコール 分数 RT オーバー V 分数終了"},
        {"maple", "N を 無限大 に近づけたときの極限"},
        {"larch", "マイナス 分数 π オーバー 2 分数終了 から 分数 π オーバー 2 分数終了 までの積分"},
        {"alder", "10 の 上付き マイナス 40 上付き終了 を下回る"},
    };
    for (const auto& [name, words] : heard)
        EXPECT_TRUE(spoken[name].contains(QString::fromUtf8(words))) << name << ": " << words;
}

TEST(ReadingLines, AFigureLabelBesideTheProseStaysOutOfItsLine) {
    TextPiece prose{QRectF(21, 100, 200, 24.6), "テイラー級数を"};
    TextPiece label{QRectF(400, 102, 20, 20), "0.5"};
    EXPECT_EQ(readingLines({prose, label}), QStringList{"テイラー級数を 0.5"});
    label.block = 1;
    EXPECT_EQ(readingLines({prose, label}), (QStringList{"テイラー級数を", "0.5"}));
}
