#include "cedar_chapter.h"

#include "cedar/square_box.h"
#include "context.h"
#include "form1.h"
#include "label_button.h"
#include "page_box.h"
#include "pen.h"
#include "state.h"
#include "symbol_codes.h"
#include "text.h"

#include <QFont>
#include <QPalette>
#include <algorithm>
#include <cstdlib>

namespace chapters {

namespace {

// Where PicSq sits inside pic(1).
constexpr int sqLeft = 446, sqTop = -1;

void setBack(QWidget& w, Color c) {
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, toQColor(c));
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}

}  // namespace

CedarChapter::CedarChapter()
    : PagedChapter(makeProfile(), {&CedarChapter::pic0, &CedarChapter::pic1, &CedarChapter::pic2,
                                   &CedarChapter::pic3, &CedarChapter::pic4}) {}

ChapterProfile CedarChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("cedar");
    s.title = QStringLiteral("熱力学の魔方陣 (Thermodynamic Square)");
    s.caption = QStringLiteral(" ");
    s.designBoxes = 2;
    s.drawnAtStartup = {0, 1, 2, 3, 4};
    // The construction waits for the reader's clicks on page 1's buttons.
    s.shownWhileDrawnAtStartup = {1};
    s.buttonBack = RGB(240, 240, 255);
    s.f1SetsSkipWait = true;
    s.closeEndsProgram = true;
    s.tabX3Units = 8;
    s.clientWidth = 794;
    s.designBoxGeometry = {{14, 33, 774, 686}, {13, 34, 774, 729}};
    s.cmdBack = {697, 7, 20, 26};
    s.cmdGo = {729, 6, 20, 26};
    s.label1 = {150, 5, 470, 31};
    return s;
}

void CedarChapter::attach(Form1& form) {
    form_ = &form;
    page1_ = &form.pic(1);
    PicSq = new SquareBox(page1_, sqLeft, sqTop);
    // Every control of the page is placed through the window's layout, so
    // that it scales with the page.
    ClientLayout& layout = form.layout();
    layout.add(PicSq);
    for (int i = 1; i <= 5; ++i) {
        auto* b = new LabelButton(QStringLiteral("Step%1").arg(i), page1_);
        // The window's 19-pixel face has a line taller than the 23 pixels
        // inside the frame: the p of "Step" ran into its bottom edge.
        QFont caption = b->font();
        caption.setPixelSize(16);
        b->setFont(caption);
        b->resize(59, 25);
        b->setFrameStyle(QFrame::Box | QFrame::Plain);
        b->setLineWidth(1);
        b->setAlignment(Qt::AlignCenter);
        b->setFocusPolicy(Qt::NoFocus);
        b->hide();
        layout.add(b);
        QObject::connect(b, &LabelButton::clicked, b, [this, i] { Stp_Click(i); });
        Stp[size_t(i)] = b;
    }
}

void CedarChapter::hideSteps() {
    for (int i = 1; i <= 5; ++i) Stp[size_t(i)]->hide();
}

void CedarChapter::Stp_Click(int index) {
    // Only ever forward: a click cannot take the construction back.
    if (index > StepNo) StepNo = index;
    Replay::poke();
}

void CedarChapter::Wait(float seconds) { pace_->waitUntil(pace_->now() + double(seconds)); }

void CedarChapter::DrawSlow(int32_t x1, int32_t y1, int32_t dx, int32_t dy, Color colour) {
    constexpr int width = 2;
    PicSq->dot(x1, y1, colour, width);
    // The pace is measured from the start of the segment, so a slow event
    // does not slow the whole line.
    const Moment t0 = pace_->now();
    const int32_t n = dx != 0 ? dx : dy;
    double cx = x1, cy = y1;
    const int32_t dir = n > 0 ? 1 : -1;
    for (int32_t k = dir; n != 0 && k * dir <= n * dir; k += dir) {
        const double x = x1 + double(dx) * k / n, y = y1 + double(dy) * k / n;
        PicSq->line(cx, cy, x, y, colour, width, k != dir);
        cx = x;
        cy = y;
        pace_->waitUntil(t0 + std::abs(k) / 100.0);
    }
}

void CedarChapter::WaitStpNo() {
    const int32_t c = ++stepsDrawn_;
    LabelButton* b = Stp.at(size_t(c));
    const QPoint at(LeftX, Round(PenY));
    then([this, b, at] {
        setBack(*b, colOrange);
        form_->layout().move(b, at);
        b->setEnabled(true);
        b->show();
    });
    pace_->note(QStringLiteral("Step %1 / 5").arg(c));
    pace_->waitFor([this, c] {
        if (SkipWait != 0 && StepNo < c) StepNo = c;
        return StepNo >= c;
    });
    then([b] {
        b->setEnabled(false);
        setBack(*b, RGB(240, 240, 255));
    });
    PenX = float(at.x() + form_->layout().rect(b).width() + double(UnitW));
}

void CedarChapter::dif(const QString& v) {
    Canvas& c = *CurPic;
    // One pixel up, not two: the substitute faces already share a baseline.
    dsp_text(c, PenX, PenY - 1, QStringLiteral("d"));
    dsp_var(c, PenX, PenY, v);
}

void CedarChapter::del_bold() {
    Canvas& c = *CurPic;
    const bool bold = c.FontBold;
    c.FontBold = true;
    // The symbol face has no bold; the one emboldened for it is hardly
    // heavier than the others, where the text calls this one bold. Struck
    // twice, a pixel apart, it reads bold; it is still one sign.
    {
        OneSign sign(c, QStringLiteral("∂"));
        float x = PenX;
        dsp_symbol(c, x, PenY + 1, QString(QChar(symbol::Partial)));
        PenX += 1;
        dsp_symbol(c, PenX, PenY + 1, QString(QChar(symbol::Partial)));
    }
    c.FontBold = bold;
}

bool CedarChapter::composePrintedPage(int page) {
    if (page != 1 || !PicSq) return false;
    Canvas& out = *CurPic;
    // The print canvas may still hold another page, wider than this copy.
    out.scaleReset();
    out.Cls();
    out.FontSize = BaseSize;
    RasterCanvas& pageImage = page1_->canvas();
    out.copyFrom(pageImage, 0, 0, pageImage.pixelWidth(), pageImage.pixelHeight(), 0, 0);
    RasterCanvas& sq = PicSq->canvas();
    out.copyFrom(sq, sqLeft, sqTop, sq.pixelWidth(), sq.pixelHeight(), 0, 0);
    for (int i = 1; i <= 5; ++i) {
        const LabelButton* b = Stp[size_t(i)];
        if (!b->isVisibleTo(page1_)) continue;
        const QRect at = form_->layout().rect(b);
        const float x = float(at.x()), y = float(at.y());
        const QString caption = QStringLiteral("Step ") + QString::number(i);
        // Five units were room for the original face's caption; the
        // substitute's is wider, so the box takes the caption's width and
        // 4 px on either side.
        const double w = std::max(5.0 * UnitW, out.TextWidth(caption) + 8);
        out.Box(x, y, x + w, y + UnitH, colBlue, false);
        float tx = x + 4;
        dsp_text(out, tx, y, caption);
    }
    return true;
}

}  // namespace chapters
