// A page's text as a reader reads it: lines from the pieces a page draws, its
// heading, what copies carry, and where it goes (the clipboard, assistive
// technology).
#include "backends/raster_canvas.h"
#include "backends/recording_canvas.h"
#include "label_button.h"
#include "page_accessible.h"
#include "page_reading.h"
#include "page_text.h"
#include "support/printing_fixture.h"
#include "text.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace typeset;
using namespace shell;

namespace {

// A piece whose cell starts at (x, y), w wide and h high.
TextPiece at(double x, double y, double w, double h, const QString& text) {
    return {QRectF(x, y, w, h), text};
}

// alder's Γ(ν, x) as the page sets it: Γ, 6 pixels, "(", a Gothic ν whose
// cell is an em wide, a comma inside that cell, 3 pixels, x, 4 pixels, ")".
std::vector<TextPiece> incompleteGamma(double y) {
    return {at(160.67, y, 10.25, 21.2, "Γ"),     at(176.92, y, 5.74, 24.6, "("),
            at(182.66, y + 2, 18.66, 18.7, "ν"), at(195.32, y, 5, 22.1, ","),
            at(203.32, y, 10, 22.1, "x"),        at(217.32, y, 5.74, 24.6, ")")};
}

TEST(ReadingLines, AFormulaSetInPiecesReadsAsWritten) {
    EXPECT_EQ(readingLines(incompleteGamma(61.5)), QStringList{"Γ(ν, x)"});
    // Scripts stay on their base's line; the prose around keeps its blanks
    // and no blank is made where it brings one.
    std::vector<TextPiece> line{at(21, 61.5, 139.67, 24.6, "不完全ガンマ関数 ")};
    for (const TextPiece& p : incompleteGamma(61.5)) line.push_back(p);
    line.push_back(at(223.06, 61.5, 173.6, 24.6, " を計算する"));
    line.push_back(at(396.7, 65.2, 17.3, 17.3, "，"));  // the Gothic comma, lower
    EXPECT_EQ(readingLines(line), QStringList{"不完全ガンマ関数 Γ(ν, x) を計算する，"});
    // A wide gap is a blank (an equation's number far to the right).
    EXPECT_EQ(readingLines({at(73, 74, 30, 24.6, "dU=TdS"), at(279, 74, 34, 24.6, "[1]")}),
              QStringList{"dU=TdS [1]"});
    // Trailing blanks go, leading ones stay.
    EXPECT_EQ(readingLines({at(10, 0, 40, 24.6, "  + 1  ")}), QStringList{"  + 1"});
}

TEST(ReadingLines, FractionsReadTopDownAndFiguresAfterTheProse) {
    // A fraction: numerator, the line with its rule, denominator, in the
    // order the page drew them, none merged into another.
    EXPECT_EQ(readingLines({at(145, 295.3, 10, 24.6, "b"), at(155, 302.7, 8, 20.9, "1"),
                            at(73, 310.1, 19, 24.6, "R"), at(92, 310.1, 23, 24.6, " = "),
                            at(115, 310.1, 80, 24.6, "─────"), at(197, 324.8, 10, 24.6, "b")}),
              (QStringList{"b1", "R = ─────", "b"}));
    // Prose with a graph beside it: the graph's labels, drawn after the
    // prose at the heights of its lines, do not break into them.
    EXPECT_EQ(readingLines({at(21, 100, 200, 24.6, "テイラー級数を"), at(21, 125, 200, 24.6, "打ち切ると"),
                            at(500, 101, 8, 17, "2"), at(500, 126, 8, 17, "1")}),
              (QStringList{"テイラー級数を", "打ち切ると", "2", "1"}));
    // A mark set above a letter out of turn (a tilde drawn back over the U)
    // leaves the line it interrupted whole.
    EXPECT_EQ(readingLines({at(20, 50, 14, 24.6, "U"), at(22, 35, 10, 24.6, "~"),
                            at(36, 50, 60, 24.6, " の変化")}),
              (QStringList{"U の変化", "~"}));
}

TEST(ReadingLines, TheFirstHeadingIsTheFirstNumberedSection) {
    EXPECT_EQ(firstHeading({"ex ～ 1.26606", "(3) 誤差を比較する.", "(4) 次"}), "(3) 誤差を比較する.");
    // Numbers in brackets of another kind, or inside a line, are no heading;
    // a page without one is known by its first line.
    EXPECT_EQ(firstHeading({"", "  (M1)", "式 (2) から", "残り"}), "(M1)");
    EXPECT_EQ(firstHeading({"", "  "}), QString());
}

// Where a reader aloud changes language: an English name in a Japanese
// line; not a formula's function names, a button's caption or an all-English
// line (that is one element in English as a whole).
TEST(ReadingLines, EnglishPhrasesInAJapaneseLine) {
    using Ranges = std::vector<std::pair<qsizetype, qsizetype>>;
    EXPECT_EQ(englishPhrases(QStringLiteral("(Gibbs phenomenon) とよびます．")), (Ranges{{1, 17}}));
    EXPECT_EQ(englishPhrases(QStringLiteral("熱力学の魔方陣 (Thermodynamic Square)")), (Ranges{{9, 29}}));
    EXPECT_EQ(englishPhrases(QStringLiteral("関数 sin x cos x の積と exp log")), Ranges{});
    EXPECT_EQ(englishPhrases(QStringLiteral("Step 1 を押します")), Ranges{});
    EXPECT_EQ(englishPhrases(QStringLiteral("Good Physicists Have Studied")), Ranges{});
}

TEST(CopiedText, ACopyCarriesTheTextOfWhatItCopiedWhereItLands) {
    RasterCanvas source(200, 100);
    float x = 10;
    dsp_text(source, x, 10, QStringLiteral("方法"));
    x = 10;
    dsp_text(source, x, 60, QStringLiteral("外"));  // below the copied region
    RasterCanvas target(300, 200);
    target.copyFrom(source, 50, 20, 200, 40, 0, 0);
    ASSERT_EQ(target.picture().ops().size(), 1u);
    const DrawOp& copy = target.picture().ops()[0];
    ASSERT_TRUE(copy.copied);
    ASSERT_EQ(copy.copied->text.size(), 1u);
    EXPECT_DOUBLE_EQ(copy.copied->text[0].x1, 60);
    EXPECT_DOUBLE_EQ(copy.copied->text[0].y1, 30);
    EXPECT_EQ(target.picture().text(), QStringLiteral("方法"));
    // A copy of that copy still reads so; a copy of no text carries none.
    RasterCanvas again(300, 200);
    again.copyFrom(target, 0, 0, 300, 200, 0, 0);
    EXPECT_EQ(again.picture().text(), QStringLiteral("方法"));
    again.copyFrom(source, 0, 0, 200, 10, 0, 90);
    EXPECT_TRUE(again.picture().ops().back().copied->text.empty());
}

class PageText : public PrintingFixture {
protected:
    void show(int n) {
        form->ShowThisPic(n);
        QCoreApplication::processEvents();
    }
};

TEST_F(PageText, ChaptersReadAsTheirPagesAreWritten) {
    SkipWait = 1;
    startChapter("alder");
    show(0);
    const QStringList lines = pageLines(form->pic(0));
    EXPECT_EQ(lines.first(), "(1)  概 要");
    EXPECT_TRUE(lines.contains("不完全ガンマ関数 Γ(ν, x) を計算する方法として，これまでに"))
        << lines.join('\n').toStdString();
    form.reset();
    viewer.reset();

    // cedar's page 1 on paper is a copy of the screen: it still reads as
    // the page, and its step labels are drawn as text.
    resetShellState();
    SkipWait = 1;
    startChapter("cedar");
    show(1);
    ASSERT_TRUE(form->cmdPrint_Click());
    std::vector<TextPiece> pieces;
    appendPieces(pieces, form->Form2().canvas().picture());
    const QString paper = readingLines(pieces).join('\n');
    EXPECT_TRUE(paper.contains("(3) 魔方陣の作図方法")) << paper.toStdString();
    EXPECT_TRUE(paper.contains("Step 1")) << paper.toStdString();
    // On screen the step labels are widgets on the page: they read too.
    EXPECT_TRUE(pageText(form->pic(1)).contains("Step5")) << pageText(form->pic(1)).toStdString();
}

TEST_F(PageText, CtrlCCopiesThePageInView) {
    SkipWait = 1;
    startChapter("hazel");
    show(1);
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, pageText(form->pic(1)));
    EXPECT_TRUE(copied.contains("1.26606")) << copied.toStdString();
    EXPECT_TRUE(copied.contains("\n(3) 誤差を比較する.\n")) << copied.toStdString();
    EXPECT_EQ(CurPage, 1);  // copying is not paging
    QTest::keyClick(form.get(), Qt::Key_Down);
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("(4) チェビシェフ補間\n"));
}

TEST_F(PageText, ScreenReadersGetThePageAsADocumentNamedByItsHeading) {
    installPageAccessibility();
    SkipWait = 1;
    startChapter("hazel");
    show(1);
    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(&form->pic(1));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->role(), QAccessible::Document);
    EXPECT_EQ(page->text(QAccessible::Name), "(3) 誤差を比較する.");
    EXPECT_TRUE(page->state().readOnly);
    QAccessibleTextInterface* text = page->textInterface();
    ASSERT_TRUE(text);
    const QString all = pageText(form->pic(1), true);
    EXPECT_EQ(text->characterCount(), all.size());
    EXPECT_EQ(text->text(0, text->characterCount()), all);
    const int at = int(all.indexOf("1.26606"));
    ASSERT_GE(at, 0);
    EXPECT_EQ(text->text(at, at + 7), "1.26606");
    // The page out of view is there but not shown.
    QAccessibleInterface* other = QAccessible::queryAccessibleInterface(&form->pic(2));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->text(QAccessible::Name), "(4) チェビシェフ補間");
    EXPECT_TRUE(other->state().invisible);
    EXPECT_FALSE(page->state().invisible);
    form.reset();
    viewer.reset();
    // A page that goes on with the section before it is named by it.
    startChapter("maple");
    QAccessibleInterface* last = QAccessible::queryAccessibleInterface(&form->pic(2));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text(QAccessible::Name), "(3) ギブス現象の説明 (続き)");
    form.reset();
    viewer.reset();

    // larch's figure boxes lie on a page: that page's text holds theirs.
    resetShellState();
    SkipWait = 1;
    startChapter("larch");
    const QList<PageBox*> figures = form->pic(0).findChildren<PageBox*>();
    ASSERT_FALSE(figures.isEmpty());
    for (PageBox* figure : figures) {
        QAccessibleInterface* f = QAccessible::queryAccessibleInterface(figure);
        ASSERT_TRUE(f);
        EXPECT_NE(f->role(), QAccessible::Document);
        EXPECT_EQ(f->textInterface(), nullptr);
    }
}

// The labels a reader clicks are buttons a screen reader can press, and the
// keyboard has Ctrl+P for the print label; every window has a name.
TEST_F(PageText, TheLabelsArePushButtonsAndCtrlPPrints) {
    installPageAccessibility();
    SkipWait = 1;
    startChapter("cedar");
    EXPECT_EQ(form->windowTitle(), QStringLiteral("熱力学の魔方陣 (Thermodynamic Square)"));
    show(1);
    QAccessibleInterface* go = QAccessible::queryAccessibleInterface(&form->cmdGo());
    ASSERT_TRUE(go);
    EXPECT_EQ(go->role(), QAccessible::Button);
    EXPECT_EQ(go->text(QAccessible::Name), QStringLiteral("次のページ"));
    ASSERT_TRUE(go->actionInterface());
    EXPECT_EQ(go->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    go->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(CurPage, 2);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&form->pic(2))->state().focused);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(&form->pic(1))->state().focused);
    QAccessibleInterface* back = QAccessible::queryAccessibleInterface(&form->cmdBack());
    EXPECT_EQ(back->text(QAccessible::Name), QStringLiteral("前のページ"));
    back->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(CurPage, 1);
    // cedar's step labels too.
    const QList<LabelButton*> buttons = form->pic(1).findChildren<LabelButton*>();
    ASSERT_EQ(buttons.size(), 5);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(buttons.first())->role(), QAccessible::Button);

    QAccessibleInterface* print = QAccessible::queryAccessibleInterface(&form->cmdPrint());
    EXPECT_EQ(print->text(QAccessible::Name), QStringLiteral("印刷"));
    print->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(printed.size(), 1u);
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printed.size(), 2u);
    EXPECT_EQ(CurPage, 1);
}

}  // namespace
