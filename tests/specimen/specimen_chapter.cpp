#include "specimen_chapter.h"

#include "context.h"
#include "entities.h"
#include "glyphs.h"
#include "markup.h"
#include "pen.h"
#include "page_opening.h"
#include "state.h"
#include "text.h"

namespace chapters {

ChapterProfile SpecimenChapter::defaultProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("specimen");
    s.title = QStringLiteral("組版見本 (Specimen)");
    s.pages = 3;
    s.designBoxes = 1;
    s.drawnAtStartup = {0, 1, 2};
    return s;
}

SpecimenChapter::SpecimenChapter(ChapterProfile profile) : profile_(std::move(profile)) {
    drawCount.assign(size_t(profile_.pages), 0);
}

void SpecimenChapter::drawPage(int n) {
    ++drawCount.at(size_t(n));
    drawOrder.push_back(n);
    if (n == 0) specimenPage();
    else if (n == 1) constructsPage();
    else plainPage(n);
    if (duringPage) duringPage(n);
}

void SpecimenChapter::plainPage(int n) {
    Canvas& c = *CurPic;
    c.Cls();
    PenX = float(LeftX);
    PenY = UnitH * (Printing ? 2 : 1);
    pr(QStringLiteral("ページ %1").arg(n));
    NewLine();
    pr(QStringLiteral("このページは見本の%1ページ目です。").arg(n));
}

void SpecimenChapter::specimenPage() {
    Canvas& c = *CurPic;
    c.Cls();
    c.FontSize = BaseSize;
    PenX = float(LeftX);
    PenY = UnitH;
    if (Printing) {
        prPaperTitle(profile_.title, 15, 20);
        PenX = float(LeftX);
    }

    pr(QStringLiteral("組版の見本：日本語の文章，数式，記号。"));
    NewPara();
    pr(QStringLiteral("ギリシャ文字 (Symbol)： "));
    for (const char* g : {"a", "b", "g", "d", "e", "q", "l", "m", "p", "s", "f", "w", "W", "S"}) {
        dsp_symbolIt(c, PenX, PenY, QString::fromLatin1(g));
        Skip(6);
    }
    NewLine();
    pr(QStringLiteral("直立の π： "));
    dsp_pi(c, PenX, PenY);
    pr(QStringLiteral("　ε： "));
    dsp_epsln(c, PenX, PenY);
    pr(QStringLiteral("　ω： "));
    dsp_omega(c, PenX, PenY);
    pr(QStringLiteral("　イタリックの α と a： "));
    dsp_symbolIt(c, PenX, PenY, QStringLiteral("a"));
    Skip(4);
    prVar(QStringLiteral("a"));
    NewPara();

    pr(QStringLiteral("変数："));
    Skip(6);
    prVar(QStringLiteral("x"));
    prSup(QStringLiteral("n+1"));
    pr(QStringLiteral(" + "));
    prVar(QStringLiteral("v"));
    prSub(QStringLiteral("k"));
    pr(QStringLiteral(" + "));
    prVar(QStringLiteral("y"));
    prSub(QStringLiteral("nmax"));
    pr(QStringLiteral(" = "));
    prVar(QStringLiteral("e"));
    prSup(QStringLiteral("-alphat"));
    pr(QStringLiteral("，"));
    prSquare(QStringLiteral("r"));
    prMinus();
    prVar(QStringLiteral("ab"));
    prSub(QStringLiteral("max"));
    NewPara();

    pr(QStringLiteral("関数："));
    Skip(6);
    prCos();
    prVar(QStringLiteral("q"));
    pr(QStringLiteral(" + "));
    prSin();
    prDiff(QStringLiteral("t"));
    pr(QStringLiteral("，  "));
    pr(QStringLiteral("-3，4"));
    pr(QStringLiteral("　上付き： "));
    prVar(QStringLiteral("e"));
    prSup(QStringLiteral("ipix"));
    pr(QStringLiteral("　下付き： "));
    prVar(QStringLiteral("c"));
    prSub(QStringLiteral("alpha1"));
    Skip(8);
    prVar(QStringLiteral("J"));
    prSub(QStringLiteral("kN"));
    NewPara();

    pr(QStringLiteral("限界の記号： "));
    dsp_limit(c, PenX, PenY, QStringLiteral("-pi<x<pi, jomega"));
    pr(QStringLiteral("　 "));
    dsp_limit(c, PenX, PenY, QStringLiteral("beta+epsln"));
    NewPara();

    pr(QStringLiteral("Wingdings： "));
    for (uint8_t code : {119, 196, 224, 231, 232}) {
        prWing(code);
        Skip(10);
    }
    NewPara();

    pr(QStringLiteral("文字実体： "));
    {
        const QString saved = c.FontName;
        c.FontName = face::Verdana;
        int32_t x = Round(PenX), y = Round(PenY);
        dsp_entity(c, QStringLiteral("K&ouml;nig, na&iuml;ve, 5&deg;C &plusmn; 1"), x, y);
        PenX = float(x);
        c.FontName = saved;
    }
    NewPara();

    pr(QStringLiteral("数値： "));
    for (double v : {0.5, -0.25, 100.0, 1e-5, 1.5e20, 3.14159265358979}) {
        pr(num2str(v));
        Skip(12);
    }
    NewPara();
    prBlue(QStringLiteral("青い文字の行。"));
    pr(QStringLiteral(" 書体： "));
    dsp_courier(c, PenX, PenY, QStringLiteral("Courier"));
    Skip(8);
    dsp_gothic(c, PenX, PenY, QStringLiteral("ゴシック"));
    Skip(8);
    dsp_face(c, face::Times, PenX, PenY, QStringLiteral("Times"));
    Skip(8);
    dsp_face(c, face::Century, PenX, PenY, QStringLiteral("Century"));
    Skip(8);
    dsp_var(c, PenX, PenY, QStringLiteral("v"));
    Skip(8);
    dsp_var(c, PenX, PenY, QStringLiteral("w"));
}

}  // namespace chapters
