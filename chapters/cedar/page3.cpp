// Page 3: where the mnemonic comes from, and what the Maxwell relations say
// in general.
#include "cedar_chapter.h"

#include "context.h"
#include "markup.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbol_codes.h"
#include "symbols.h"
#include "text.h"

namespace chapters {

namespace {

// ∂²f/∂a∂b built up at the pen, the rule on the middle of the line.
void secondPartial(const QString& a, const QString& b) {
    Canvas& c = *CurPic;
    Construct fraction(c, Group::Fraction);
    const QString partial(QChar(symbol::Partial));
    const float x0 = PenX, y0 = PenY;
    float xn = x0 + 4;
    drawAs(c, Group::Numerator, [&] {
        dsp_symbol(c, xn, y0 - 13, partial);
        dsp_sup(c, xn, y0 - 13, QStringLiteral("2"));
        xn += 1;
        dsp_var(c, xn, y0 - 13, QStringLiteral("f"));
    });
    float xd = x0;
    drawAs(c, Group::Denominator, [&] {
        dsp_symbol(c, xd, y0 + 12, partial);
        xd += 1;
        dsp_var(c, xd, y0 + 12, a);
        xd += 2;
        dsp_symbol(c, xd, y0 + 12, partial);
        xd += 1;
        dsp_var(c, xd, y0 + 12, b);
    });
    const float w = std::max(xn, xd) - x0 + 2;
    c.Line(x0, y0 + 12, x0 + w, y0 + 12, c.ForeColor);
    PenX = x0 + w + 4;
}

}  // namespace

void CedarChapter::pic3() {
    CurPic->FontSize = BaseSize;
    openPage(QStringLiteral("(6)  出 典"));
    pr(QStringLiteral("この覚え方は，ある熱力学の教科書に載っていたものです．ほかにも"));
    NewLine();
    pr(QStringLiteral("いくつかの覚え方がありますが，ふつうの英単語だけでできているこれが"));
    NewLine();
    pr(QStringLiteral("いちばん覚えやすいでしょう．"));
    SkipH(1.2f);
    PenX = float(TabX1);
    pr(QStringLiteral("[1]  熱力学の標準的な教科書（英文）"));
    NewLine();
    PenX = float(TabX1);
    pr(QStringLiteral("[2]  統計力学・熱物理学の標準的な教科書（英文）"));
    SkipH(1.2f);
    PenX = float(LeftX);
    pr(QStringLiteral("どちらも大学の図書館などで手軽に読むことができます．"));

    SkipH(1.5f);
    PenX = float(TabX1);
    prBlue(QStringLiteral("(7) マクスウェルの関係を どこで どう使うか"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("関数 "));
    prFunc(QStringLiteral("f"), QStringLiteral("x, y"));
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("x"));
    pr(QStringLiteral(" と "));
    prVar(QStringLiteral("y"));
    pr(QStringLiteral(" で偏微分した結果は，微分の順序によりません．"));
    SkipH(1.8f);
    PenX = float(TabX2);
    secondPartial(QStringLiteral("x"), QStringLiteral("y"));
    pr(QStringLiteral(" ＝ "));
    Skip(4);
    secondPartial(QStringLiteral("y"), QStringLiteral("x"));
    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("言いかえると，"));
    dif(QStringLiteral("f"));
    pr(QStringLiteral(" ＝ "));
    prVar(QStringLiteral("M"));
    Skip(4);
    dif(QStringLiteral("x"));
    pr(QStringLiteral(" ＋ "));
    prVar(QStringLiteral("N"));
    Skip(4);
    dif(QStringLiteral("y"));
    pr(QStringLiteral(" と書けるなら"));
    SkipH(1.8f);
    PenX = float(TabX2);
    prPartial(QStringLiteral("N"), QStringLiteral("x"), QStringLiteral("y"));
    Skip(8);
    pr(QStringLiteral(" ＝ "));
    Skip(4);
    prPartial(QStringLiteral("M"), QStringLiteral("y"), QStringLiteral("x"));
    SkipH(1.8f);
    PenX = float(LeftX);
    pr(QStringLiteral("が成り立ちます．物理や工学で扱う関数は性質がよいので，この点の"));
    NewLine();
    pr(QStringLiteral("心配はいりません．問題は，こんな当たり前の式から意味のある結果が"));
    NewLine();
    pr(QStringLiteral("出てくるのかどうかです．それを次のページで示しましょう．"));
}

}  // namespace chapters
