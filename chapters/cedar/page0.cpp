// Page 0: why the square is worth knowing, the four potentials and their
// differentials [1] to [4].
#include "cedar_chapter.h"

#include "context.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"

namespace chapters {

void CedarChapter::pic0() {
    openTitlePage(profile_.title, 15, 16);
    CurPic->FontSize = BaseSize;
    SupSize = 0.85f;  // kept for the rest of the run

    PenX = float(TabX1);
    prBlue(QStringLiteral("(1) 概 要"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("偏微分の知識は，物理学や工学のたいていの場面では，全微分の公式"));
    NewLine();
    pr(QStringLiteral("程度で間に合います．ところが熱力学と統計力学では事情が違い，偏微分"));
    NewLine();
    pr(QStringLiteral("が込み入った形でひんぱんに現れるため，そこで戸惑う学生が少なく"));
    NewLine();
    pr(QStringLiteral("ありません．ここでは熱力学そのものには深入りせず，計算に役立つ"));
    NewLine();
    pr(QStringLiteral("便利な道具として「魔方陣」と呼ばれる図式を紹介します．覚え方まで"));
    NewLine();
    pr(QStringLiteral("含めて身につければ，あとの計算がずっと楽になるはずです．"));

    NewPara();
    PenX = float(TabX1);
    prBlue(QStringLiteral("(2) その効用"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("魔方陣そのものの説明は次の節にまわし，先にその効用を示します．"));
    NewLine();
    pr(QStringLiteral("熱力学には，次の４つのエネルギー（熱力学ポテンシャル）が登場します．"));

    const float nameX = float(TabX2 + 12.0 * UnitW);
    auto name = [nameX](const QString& text) {
        PenX = nameX;
        pr(text);
    };
    SkipH(1.2f);
    PenX = float(TabX2);
    prVar(QStringLiteral("U"));
    pr(QStringLiteral(","));
    name(QStringLiteral("内部エネルギー"));

    SkipH(1.2f);
    PenX = float(TabX2);
    prVar(QStringLiteral("F"));
    pr(QStringLiteral(" "));
    const float eqX = PenX;
    pr(QStringLiteral("="));
    Skip(5);
    prVar(QStringLiteral("U"));
    prMinus();
    prVar(QStringLiteral("T"));
    Skip(2);
    prVar(QStringLiteral("S"));
    pr(QStringLiteral(","));
    name(QStringLiteral("ヘルムホルツの自由エネルギー"));

    SkipH(1.2f);
    PenX = float(TabX2);
    prVar(QStringLiteral("G"));
    PenX = eqX;
    pr(QStringLiteral("="));
    Skip(5);
    prVar(QStringLiteral("F"));
    Skip(4);
    pr(QStringLiteral("+"));
    Skip(6);
    prVar(QStringLiteral("p"));
    Skip(2);
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(","));
    name(QStringLiteral("ギブスの自由エネルギー"));

    SkipH(1.2f);
    PenX = float(TabX2);
    prVar(QStringLiteral("H"));
    PenX = eqX;
    pr(QStringLiteral("="));
    Skip(5);
    prVar(QStringLiteral("U"));
    Skip(4);
    pr(QStringLiteral("+"));
    Skip(6);
    prVar(QStringLiteral("p"));
    Skip(2);
    prVar(QStringLiteral("V"));
    name(QStringLiteral("エンタルピー"));

    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("これらの微分は，それぞれ次の式で与えられます．"));

    // Each differential: its label at a fixed stop, the "=" in one column.
    const float labelX = float(30.0 * UnitW + LeftX);
    const float eq2X = float(TabX2 + 3.0 * UnitW);
    struct Term {
        bool minus;
        const char* coef;
        const char* var;
    };
    auto formula = [&](const char* label, const char* lhs, Term a, Term b) {
        SkipH(1.2f);
        PenX = float(TabX2);
        dif(QString::fromLatin1(lhs));
        PenX = eq2X;
        pr(QStringLiteral("="));
        Skip(5);
        bool first = true;
        for (const Term& t : {a, b}) {
            if (t.minus) {
                prMinus();
            } else if (!first) {
                Skip(4);
                pr(QStringLiteral("+"));
                Skip(4);
            }
            first = false;
            prVar(QString::fromLatin1(t.coef));
            Skip(4);
            dif(QString::fromLatin1(t.var));
            Skip(4);
        }
        PenX = labelX;
        pr(QString::fromLatin1(label));
    };
    formula("[1]", "U", {false, "T", "S"}, {true, "p", "V"});
    formula("[2]", "F", {true, "S", "T"}, {true, "p", "V"});
    formula("[3]", "G", {true, "S", "T"}, {false, "V", "p"});
    formula("[4]", "H", {false, "T", "S"}, {false, "V", "p"});

    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("魔方陣を使うと，[1] ～ [4] を正確に再現できます．物理では公式を"));
    NewLine();
    pr(QStringLiteral("丸暗記する必要はあまりありませんが，この４つについては，次の節の"));
    NewLine();
    pr(QStringLiteral("方法で覚えてしまうほうがかえって楽です．"));
}

}  // namespace chapters
