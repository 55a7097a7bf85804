// Page 1: the square built in five steps, each released by a click on its
// step button (or at once after F1), then how to read it.
#include "cedar_chapter.h"

#include "cedar/square_box.h"
#include "context.h"
#include "label_button.h"
#include "page_opening.h"
#include "pen.h"
#include "state.h"
#include "text.h"


namespace chapters {

namespace {

// The mnemonic's words; the initials land in these labels, in this order
// (clockwise from the middle of the right side).
struct Word {
    const char* initial;
    const char* rest;
    bool gap;  // a little air after the initials that lean into the rest
    int label;
};
constexpr Word mnemonic[8] = {
    {"G", "ood", false, 3},   {"P", "hysicists", true, 5}, {"H", "ave", true, 4},
    {"S", "tudied", true, 6}, {"U", "nder", false, 1},     {"V", "ery", true, 7},
    {"F", "ine", false, 2},   {"T", "eachers.", true, 8},
};

}  // namespace

void CedarChapter::pic1() {
    Pace pace(*CurPic);
    pace.alsoOn(PicSq->canvas());
    pace_ = &pace;
    construct();
    pace_ = nullptr;
}

void CedarChapter::construct() {
    Canvas& c = *CurPic;
    c.FontSize = BaseSize;
    openPage();
    PicSq->showFinished();
    then([this] { hideSteps(); });

    prBlue(QStringLiteral("(3) 魔方陣の作図方法"));
    PenX = float(LeftX);
    SkipH(1.5f);
    pr(QStringLiteral("右の魔方陣は，次の手順で作ります．"));
    SkipH(1.2f);
    StepNo = 0;
    stepsDrawn_ = 0;
    WaitStpNo();

    // Step 1: the square.
    PicSq->clearForConstruction();
    pr(QStringLiteral("まず正方形を描きます．"));
    DrawSlow(50, 250, 0, -200, colBlue);
    DrawSlow(50, 50, 200, 0, colBlue);
    DrawSlow(250, 50, 0, 200, colBlue);
    DrawSlow(250, 250, -200, 0, colBlue);

    // Step 2: the four energies, clockwise from the left side.
    SkipH(1.2f);
    WaitStpNo();
    pr(QStringLiteral("次に４つのエネルギー "));
    Wait(1.0f);
    prVar(QStringLiteral("E"));
    pr(QStringLiteral(", "));
    Wait(1.0f);
    PicSq->setLetter(1, QStringLiteral("E"));
    PicSq->showLetter(1, true);
    Wait(1.0f);
    prVar(QStringLiteral("F"));
    pr(QStringLiteral(", "));
    Wait(1.0f);
    PicSq->showLetter(2, true);
    Wait(1.0f);
    prVar(QStringLiteral("G"));
    pr(QStringLiteral(", "));
    Wait(1.2f);
    PicSq->showLetter(3, true);
    Wait(1.0f);
    prVar(QStringLiteral("H"));
    Wait(1.5f);
    PicSq->showLetter(4, true);
    pr(QStringLiteral(" を"));
    NewLine();
    pr(QStringLiteral("左辺から時計回りに，この順で書き込みます．"));

    // Step 3: E is the internal energy U.
    SkipH(1.2f);
    WaitStpNo();
    prVar(QStringLiteral("E"));
    pr(QStringLiteral(" を "));
    prVar(QStringLiteral("U"));
    pr(QStringLiteral(" と書き換えます．"));
    Wait(1.5f);
    PicSq->setLetter(1, QStringLiteral("U"));

    // Step 4: the mnemonic, and each initial into its place.
    SkipH(1.2f);
    WaitStpNo();
    pr(QStringLiteral("次のおまじないを覚えておきます．"));
    NewPara();
    const float y0 = PenY;
    float xk[8];
    const Color fore = c.ForeColor;
    c.FontSize = 10.8f;
    c.ForeColor = colBlue;
    for (int k = 0; k < 8; ++k) {
        xk[k] = PenX;
        prVar(QString::fromLatin1(mnemonic[k].initial));
        // The 2 px were for Bookman's overhang; after the fallback italic
        // they split the word ("P hysicists").
        if (mnemonic[k].gap && BookmanOK == 1) Skip(2);
        pr(QString::fromLatin1(mnemonic[k].rest) + (k < 7 ? QStringLiteral(" ") : QString()));
    }
    c.ForeColor = fore;
    c.FontSize = BaseSize;
    NewLine();
    pr(QStringLiteral("その頭文字を，魔方陣に埋め込みます．"));
    for (int k = 0; k < 8; ++k) {
        c.Box(xk[k], y0 + 18, xk[k] + UnitW, y0 + 18 + 2, colOrange, true);
        blink(mnemonic[k].label);
    }

    // Step 5: the diagonals, arrowed upward.
    SkipH(1.2f);
    WaitStpNo();
    pr(QStringLiteral("最後に，矢印つきの対角線を描きます．"));
    PicSq->line(240, 60, 224, 84, colBlue, 2);
    PicSq->line(240, 60, 216, 76, colBlue, 2);
    DrawSlow(60, 240, 180, -180, colBlue);
    PicSq->line(60, 60, 76, 84, colBlue, 2);
    PicSq->line(60, 60, 84, 76, colBlue, 2);
    DrawSlow(240, 240, -180, -180, colBlue);

    readingTheSquare();
}

// Three blinks: each 0.3 s on view, then 0.5 s off.
void CedarChapter::blink(int letter) {
    for (int i = 0; i < 3; ++i) {
        Wait(0.3f);
        PicSq->showLetter(letter, false);
        Wait(0.5f);
        PicSq->showLetter(letter, true);
    }
}

void CedarChapter::readingTheSquare() {
    Canvas& c = *CurPic;
    PenX = float(TabX1);
    SkipH(1.5f);
    prBlue(QStringLiteral("(4) 魔方陣から読み取る｡"));
    PenX = float(TabX2);
    SkipH(1.2f);
    {
        const QString face = c.FontName;
        c.FontSize = float(1.1 * BaseSize);
        if (BookmanOK == 1) c.FontName = face::Bookman;
        prBlue(QStringLiteral("\"Good Physicists Have Studied Under Very Fine Teachers.\""));
        c.FontName = face;
        c.FontSize = BaseSize;
    }
    PenX = float(LeftX);
    SkipH(1.2f);
    pr(QStringLiteral("これを覚えて魔方陣を作れば，あとは簡単です．いちばん大切なのは，"));
    NewLine();
    pr(QStringLiteral("４つのエネルギーそれぞれの自然な独立変数です．たとえば "));
    prVar(QStringLiteral("U"));
    pr(QStringLiteral(" の"));
    NewLine();
    pr(QStringLiteral("独立変数は，その上と下にある "));
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" と "));
    prVar(QStringLiteral("S"));
    pr(QStringLiteral(" です．したがって "));
    dif(QStringLiteral("U"));
    pr(QStringLiteral(" は次の形になります．"));

    auto blanks = [this](const QString& a, const QString& b) {
        pr(QStringLiteral(" ＝ (      ) "));
        dif(a);
        pr(QStringLiteral(" ＋ (      ) "));
        dif(b);
    };
    PenX = float(TabX2);
    SkipH(1.1f);
    dif(QStringLiteral("U"));
    blanks(QStringLiteral("V"), QStringLiteral("S"));

    PenX = float(LeftX);
    SkipH(1.1f);
    pr(QStringLiteral("括弧の中には矢印をたどった先の変数が入り，矢印に逆らって進むときは"));
    NewLine();
    pr(QStringLiteral("マイナス符号をつけます．こうして [1] が再現されます．残りの３つも"));
    NewLine();
    pr(QStringLiteral("同じ要領です．たとえば "));
    prVar(QStringLiteral("F"));
    pr(QStringLiteral(" の左右には "));
    prVar(QStringLiteral("V"));
    pr(QStringLiteral(" と "));
    prVar(QStringLiteral("T"));
    pr(QStringLiteral(" があるので"));
    PenX = float(TabX2);
    SkipH(1.1f);
    dif(QStringLiteral("F"));
    blanks(QStringLiteral("V"), QStringLiteral("T"));
    PenX = float(LeftX);
    SkipH(1.1f);
    pr(QStringLiteral("となり，どちらも矢印に逆らうので両方にマイナスがついて [2] になります．"));
}

}  // namespace chapters
