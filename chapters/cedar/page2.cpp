// Page 2: the four Maxwell relations, why they hold, and how the square's
// corners give them back.
#include "cedar_chapter.h"

#include "constructs.h"
#include "context.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "symbols.h"

namespace chapters {

// (∂a/∂b)_c ＝ [－] (∂d/∂e)_f with its label at a fixed stop.
void CedarChapter::maxwellRow(const char* label, const QString (&left)[3], bool minus,
                              const QString (&right)[3]) {
    PenX = float(TabX2);
    prPartial(left[0], left[1], left[2]);
    Skip(8);
    pr(minus ? QStringLiteral(" ＝ －") : QStringLiteral(" ＝ "));
    Skip(4);
    prPartial(right[0], right[1], right[2]);
    PenX = float(25.0 * UnitW + LeftX);
    pr(QString::fromLatin1(label));
}

void CedarChapter::pic2() {
    CurPic->FontSize = BaseSize;
    openPage(QStringLiteral("(5) マクスウェルの関係"));
    pr(QStringLiteral("[1] ～ [4] から，次の４つのマクスウェルの関係が導かれます．"));

    using Q = QString;
    SkipH(1.5f);
    maxwellRow("(M1)", {Q("p"), Q("S"), Q("V")}, true, {Q("T"), Q("V"), Q("S")});
    SkipH(1.8f);
    maxwellRow("(M2)", {Q("S"), Q("V"), Q("T")}, false, {Q("p"), Q("T"), Q("V")});
    SkipH(1.8f);
    maxwellRow("(M3)", {Q("S"), Q("p"), Q("T")}, true, {Q("V"), Q("T"), Q("p")});
    SkipH(1.8f);
    maxwellRow("(M4)", {Q("V"), Q("S"), Q("p")}, false, {Q("T"), Q("p"), Q("S")});

    PenX = float(LeftX);
    SkipH(1.8f);
    pr(QStringLiteral("これらの関係は，２階の偏微分が微分の順序によらないことから出てきます．"));
    SkipH(1.1f);
    PenX = float(LeftX);
    pr(QStringLiteral("たとえば自然な変数が "));
    prVar(QStringLiteral("S"));
    pr(QStringLiteral(" と "));
    prVar(QStringLiteral("p"));
    pr(QStringLiteral(" である "));
    prVar(QStringLiteral("H"));
    pr(QStringLiteral(" では"));
    SkipH(1.6f);
    PenX = float(TabX2);
    prPartialFrac(QString(), QStringLiteral("S"));
    Skip(12);  // the rule runs 4 px past the denominator, into the parenthesis at 8
    prPartial(QStringLiteral("H"), QStringLiteral("p"), QStringLiteral("S"));
    Skip(8);
    pr(QStringLiteral(" ＝ "));
    Skip(4);
    prPartialFrac(QString(), QStringLiteral("p"));
    Skip(12);  // the rule runs 4 px past the denominator, into the parenthesis at 8
    prPartial(QStringLiteral("H"), QStringLiteral("S"), QStringLiteral("p"));
    SkipH(1.6f);
    PenX = float(LeftX);
    pr(QStringLiteral("から (M4) が得られます．しかし魔方陣を使えば，これらはずっと簡単に"));
    NewLine();
    pr(QStringLiteral("再現できます．４つの角を見ると，大まかに"));
    SkipH(1.5f);
    PenX = float(TabX2);
    prFrac(QStringLiteral("V"), QStringLiteral("S"));
    pr(QStringLiteral(" ＝ "));
    prFrac(QStringLiteral("T"), QStringLiteral("p"));
    SkipH(1.5f);
    PenX = float(LeftX);
    pr(QStringLiteral("と読めます．これを太字の "));
    del_bold();
    Skip(2);
    pr(QStringLiteral(" で"));
    prBlue(QStringLiteral("飾り付ける"));
    pr(QStringLiteral("と (M4) になります．同様に右側から眺めると"));
    SkipH(1.5f);
    PenX = float(TabX2);
    prFrac(QStringLiteral("S"), QStringLiteral("p"));
    pr(QStringLiteral(" ＝ － "));
    prFrac(QStringLiteral("V"), QStringLiteral("T"));
    pr(QStringLiteral("   （矢印の向きがそろわないので，マイナスが必要です）"));
    SkipH(1.5f);
    PenX = float(LeftX);
    pr(QStringLiteral("となり，これを飾り付けると (M3) になります．"));
}

}  // namespace chapters
