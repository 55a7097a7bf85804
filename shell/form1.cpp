#include "form1.h"

#include "end_program.h"
#include "entities.h"
#include "faces.h"
#include "font_pages.h"
#include "replay.h"
#include "page_reading.h"
#include "picture.h"
#include "presentation.h"
#include "printer.h"
#include "projection.h"
#include "state.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <utility>

using namespace typeset;

namespace shell {

namespace {

// The window's design font: the page face at 14.25 points (19 pixels at 96
// dpi); pixel sizes keep the labels the same on every screen setting.
QFont windowFont(bool bold = false, int pixels = 19) {
    QFont f(QStringLiteral("メイリオ"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The arrow labels' face at their design size, made smaller until the arrow
// keeps two pixels clear of the frame on either side: the substitute face's
// arrows span the whole em, and at 19 pixels filled the 20-pixel labels edge
// to edge.
QFont arrowFont(const QString& arrow, int labelWidth) {
    QFont f = windowFont(true);
    const int room = labelWidth - 2 * (1 + 2);  // frame and gap, both sides
    while (f.pixelSize() > 8 && QFontMetricsF(f).tightBoundingRect(arrow).width() > room)
        f.setPixelSize(f.pixelSize() - 1);
    return f;
}

void setBack(QWidget& w, Color c) {
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, toQColor(c));
    w.setPalette(pal);
    w.setAutoFillBackground(true);
}

bool contains(const std::vector<int>& v, int n) {
    return std::find(v.begin(), v.end(), n) != v.end();
}

}  // namespace

Form1::Form1(Chapter& chapter)
    : chapter_(chapter), profile_(chapter.profile()), backColor_(RGB(240, 240, 240)) {
    // A blank caption would leave the window without a name in the task
    // list and for a screen reader.
    setWindowTitle(profile_.caption.trimmed().isEmpty() ? profile_.title : profile_.caption);
    setFont(windowFont());
    setFocusPolicy(Qt::StrongFocus);
    resize(profile_.clientWidth, profile_.clientHeight);
    showBackColor();

    cmdPrint_ = new LabelButton(QStringLiteral("印刷"), this);
    cmdBack_ = new LabelButton(QStringLiteral("←"), this);
    cmdGo_ = new LabelButton(QStringLiteral("→"), this);
    label1_ = new QLabel(profile_.title, this);
    auto place = [](QWidget* w, const Rect& r) { w->setGeometry(r.left, r.top, r.width, r.height); };
    place(cmdPrint_, profile_.cmdPrint);
    place(cmdBack_, profile_.cmdBack);
    place(cmdGo_, profile_.cmdGo);
    place(label1_, profile_.label1);
    for (LabelButton* b : {cmdPrint_, cmdBack_, cmdGo_}) {
        b->setFrameStyle(QFrame::Box | QFrame::Plain);
        b->setLineWidth(1);
        b->setAlignment(Qt::AlignCenter);
        b->setFocusPolicy(Qt::NoFocus);
    }
    // The arrows say what they do to a screen reader.
    cmdBack_->setAccessibleName(QStringLiteral("前のページ"));
    cmdGo_->setAccessibleName(QStringLiteral("次のページ"));
    cmdBack_->setFont(arrowFont(cmdBack_->text(), profile_.cmdBack.width));
    cmdGo_->setFont(arrowFont(cmdGo_->text(), profile_.cmdGo.width));
    label1_->setFont(windowFont(false, 21));  // 15.75 points
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setFocusPolicy(Qt::NoFocus);
    connect(cmdGo_, &LabelButton::clicked, this, [this] { cmdGo_Click(); });
    connect(cmdBack_, &LabelButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdPrint_, &LabelButton::clicked, this, [this] { cmdPrint_Click(); });

    for (QWidget* w : std::initializer_list<QWidget*>{cmdPrint_, cmdBack_, cmdGo_, label1_})
        layout_.add(w);
    for (const Rect& g : profile_.designBoxGeometry) addBox(g);
    scroller_.onScroll = [this] { layOut(); };
    // A screen reader hears where a paced drawing stands as it changes.
    Replay::setStatusHandler([this](const Canvas& c) { announceDrawing(c); });
}

Form1::~Form1() {
    presentation_.reset();
    Replay::setStatusHandler({});
}

void Form1::announceDrawing(const Canvas& canvas) {
    for (PageBox* box : pic_) {
        if (&box->canvas() != &canvas) continue;
        QAccessibleEvent changed(box, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

bool Form1::pauseKey(QKeyEvent* e) {
    // Only the chapters whose drawings are paced, and never with Ctrl, Alt
    // or Meta (Ctrl+P is not a pause).
    if (!profile_.f1SetsSkipWait) return false;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (e->key() != Qt::Key_P && e->key() != Qt::Key_Pause) return false;
    if (KeyBusy || keysHeldFor_) return true;
    if (Replay* r = Replay::on(pic(CurPage).canvas())) r->togglePause();
    return true;
}

PageBox* Form1::addBox(const Rect& g) {
    auto* box = new PageBox(this, g);
    box->page = int(pic_.size());
    box->canvas().FontName = QStringLiteral("メイリオ");
    box->canvas().FontSize = 14.25f;
    box->lower();  // the labels stay on top of the page boxes
    layout_.add(box);
    if (inverted_) box->setGraphicsEffect(new InvertLightness);
    // Which box is on view is the current page's business: a page drawn
    // afresh once the reader has left it (its older drawing had to stop
    // first) must not come back into view.
    box->canvas().onMakeVisible = [this, box] {
        if (CurPage >= 0 && CurPage < boxCount() && pic_[size_t(CurPage)] == box) box->show();
    };
    pic_.push_back(box);
    return box;
}

void Form1::setFormBackColor(Color c) {
    backColor_ = c;
    showBackColor();
}

void Form1::setControlsBackColor(Color c) {
    for (LabelButton* b : {cmdPrint_, cmdBack_, cmdGo_}) setBack(*b, c);
    setBack(*label1_, c);
    for (PageBox* box : pic_) box->canvas().BackColor = c;
}

void Form1::styleButton(LabelButton& b, Color back) { setBack(b, back); }

PrintCanvas& Form1::Form2() {
    // The window's size as designed, not its frame as the window manager
    // draws it: the frame is unknown until the window is shown, and every
    // load of the print canvas must give the same page.
    if (!form2_) form2_ = std::make_unique<PrintCanvas>(profile_.clientWidth, profile_.clientHeight);
    return *form2_;
}

void Form1::Form_Load() {
    Variant = profile_.library;
    // The design text colour, and (where the chapter does) the labels' system
    // colour that their button colour overwrites below.
    if (profile_.keepsDefFore) DefFore = colSystemText;
    if (profile_.systemButtonColourFirst)
        for (LabelButton* b : {cmdPrint_, cmdBack_, cmdGo_}) setBack(*b, RGB(255, 255, 255));
    // A white window, the library's own set-up on it, the button colours.
    setFormBackColor(RGB(255, 255, 255));
    dspInit(*this);
    for (LabelButton* b : {cmdPrint_, cmdBack_, cmdGo_}) styleButton(*b, profile_.buttonBack);
    if (profile_.hidesBackAtStart) cmdBack_->hide();
    // The print canvas and the entity table, in the chapter's order.
    if (profile_.entitiesBeforePrintCanvas) {
        InitEntities();
        Form2();
    } else {
        Form2();
        InitEntities();
    }
    // The layout unit, measured on the design boxes at the page size.
    BaseSize = 13.0f;
    for (PageBox* box : pic_) {
        RasterCanvas& c = box->canvas();
        CurPic = &c;
        c.BackColor = backColor_;
        c.FontSize = BaseSize;
        c.Cls();
        UnitW = float(c.TextWidth(QStringLiteral("A")));
        UnitH = float(c.TextHeight(QStringLiteral("A")));
    }
    // The margin and tab stops from it.
    deriveLayoutStops(profile_.tabX3Units);
    // The remaining boxes are copies of pic(0), hidden.
    const Rect first = profile_.designBoxGeometry.front();
    RasterCanvas& model = pic_.front()->canvas();
    for (int n = int(pic_.size()); n < profile_.pages; ++n) {
        PageBox* box = addBox(first);
        box->canvas().FontName = model.FontName;
        box->canvas().FontSize = model.FontSize;
        box->canvas().BackColor = model.BackColor;
        box->canvas().Cls();
        box->hide();
    }
    // Page 0 is the page in view at start, also where the design has several
    // boxes in place.
    for (int n = 1; n < int(pic_.size()); ++n) pic_[size_t(n)]->hide();
    chapter_.attach(*this);
    // Show the window, then draw the start-up pages in page order.
    showScaled();
    CurPage = 0;
    drawStartupPages(0);
}

void Form1::drawStartupPages(size_t from) {
    const std::vector<int>& pages = profile_.drawnAtStartup;
    for (size_t i = from; i < pages.size(); ++i) {
        if (closed_) return;
        const int n = pages[i];
        const bool interactive = contains(profile_.shownWhileDrawnAtStartup, n);
        const int startPage = CurPage;
        const bool goWas = cmdGo_->isVisibleTo(this), backWas = cmdBack_->isVisibleTo(this);
        // The page that waits for the reader is the current one while it is
        // in view: paging and printing act on what the reader sees.
        if (interactive) showBoxes(n);
        drawOnBox(n);
        // The reader sees the page in view at once, not after every other
        // start-up page; what the reader does waits until start-up is done.
        if (!firstPaintDone_ && pic(n).isVisible()) {
            firstPaintDone_ = true;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            // What the page's glyphs mapped of the font files is not needed
            // any more; the pages drawn out of view set no glyphs.
            releaseFontFilePages();
        }
        if (!interactive) continue;
        const auto backToStart = [this, n, startPage, goWas, backWas] {
            // Still there when it is done: back to the start-up view.
            if (CurPage != n) return;
            CurPage = startPage;
            for (int b = 0; b < int(pic_.size()); ++b) pic_[size_t(b)]->setVisible(b == CurPage);
            cmdGo_->setVisible(goWas);
            cmdBack_->setVisible(backWas);
        };
        if (!Replay::on(pic(n).canvas())) {
            backToStart();
            continue;
        }
        // The rest of start-up waits until the reader has been through the
        // page's drawing (also when it is drawn afresh meanwhile).
        startupWaitsFor_ = &pic(n).canvas();
        startupGoesOn_ = [this, i, backToStart] {
            backToStart();
            drawStartupPages(i + 1);
        };
        return;
    }
    startupDone_ = true;
    if (pageAfterStartup_ >= 0) ShowThisPic(std::exchange(pageAfterStartup_, -1));
}

void Form1::showOnceStarted(int32_t n) {
    if (startupDone_) ShowThisPic(n);
    else pageAfterStartup_ = n;
}

void Form1::showBoxes(int32_t n) {
    CurPage = n;
    for (int i = 0; i < int(pic_.size()); ++i) pic_[size_t(i)]->setVisible(i == n);
    cmdGo_->setVisible(n != lastPage());
    cmdBack_->setVisible(n != 0);
    // A screen reader follows the reader to the new page and says its
    // heading.
    QAccessibleEvent focus(pic_[size_t(n)], QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
    if (onViewChanged) onViewChanged();
    emit viewShown();
}

void Form1::ShowThisPic(int32_t n) {
    showBoxes(n);
    if (!contains(profile_.redrawnWhenShown, n)) return;
    RasterCanvas& c = pic(n).canvas();
    if (SkipWait == 0 && Replay::on(c)) {
        // Entered again while its drawing still shows: drawn afresh once the
        // events in hand have been handled, so that a burst of keys (a held
        // key, an automation tool) records the page once, not once a key.
        // Keys after Home or End wait for that drawing as for any other.
        if (KeyBusy) keysHeldFor_ = &c;
        if (!redrawSoon_.contains(n)) {
            redrawSoon_.push_back(n);
            QTimer::singleShot(0, this, [this, n] {
                redrawSoon_.removeAll(n);
                redraw(n);
            });
        }
        return;
    }
    redraw(n);
}

void Form1::redraw(int32_t n) {
    // Shown while another page is being drawn for paper: this one is still
    // for the screen.
    const int32_t printing = std::exchange(Printing, 0);
    drawOnBox(n);
    Printing = printing;
}

void Form1::drawOnBox(int32_t n) {
    RasterCanvas& c = pic(n).canvas();
    CurPic = &c;
    Replay* drawing = Replay::record(c, [&] { chapter_.drawPage(n); });
    if (drawing && !drawing->finished()) {
        // Keys stay dropped until a Home or End page change has drawn, also
        // when its page is drawn afresh meanwhile.
        if (KeyBusy || keysHeldFor_ == &c) keysHeldFor_ = &c;
        drawing->onFinished = [this, &c] { drawn(c); };
        return;
    }
    // A page in view gets its pixels now, to rest as runs before it is
    // painted; one out of view only when it is first shown.
    if (pic(n).isVisible()) c.image();
    drawn(c);
}

void Form1::drawn(RasterCanvas& c) {
    if (keysHeldFor_ == &c) keysHeldFor_ = nullptr;
    // Drawn: until it is drawn on again, its picture is kept as runs.
    c.rest();
    if (startupWaitsFor_ == &c) {
        startupWaitsFor_ = nullptr;
        std::exchange(startupGoesOn_, nullptr)();
    }
}

bool Form1::stepBack() {
    RasterCanvas& c = pic(CurPage).canvas();
    const Replay* drawing = Replay::on(c);
    if (!drawing || drawing->stepsPassed() == 0) return false;
    const int passed = drawing->stepsPassed();
    drawOnBox(CurPage);
    if (Replay* again = Replay::on(c)) again->hurryPast(passed - 1);
    return true;
}

void Form1::Forward() {
    if (CurPage == lastPage()) return;
    ShowThisPic(CurPage + 1);
}

void Form1::Backward() {
    if (CurPage == 0) return;
    ShowThisPic(CurPage - 1);
}

void Form1::unloadForm2() {
    if (printBusy_ && form2_) {
        unloadPending_ = true;
        return;
    }
    form2_.reset();
}

bool Form1::cmdPrint_Click() {
    // A click while a page is being drawn for paper; Printing alone does not
    // tell, as a page shown meanwhile is drawn for the screen.
    if (Printing || printBusy_) return false;
    printBusy_ = true;
    Printing = 1;
    LeftX = Round(UnitW);
    CurPic = &Form2().canvas();
    // Every print starts at the page size, as every page box does: pages
    // that keep the canvas's size would otherwise print at whatever the
    // page printed before left.
    CurPic->FontSize = BaseSize;
    // The page chosen now is the one printed, even if the reader pages on
    // while it is drawn.
    const int page = CurPage;
    RasterCanvas& canvas = Form2().canvas();
    // A page routine that fails leaves no half-drawn page on paper, and must
    // not leave Printing set: no later print would ever happen.
    // The message is copied: the exception is gone once its handler ends.
    std::optional<std::string> failure;
    try {
        if (!chapter_.composePrintedPage(page)) chapter_.drawPage(page);
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown error";
    }
    bool sent = false;
    if (failure) {
        std::fprintf(stderr, "print: page %d could not be drawn (%s); nothing was printed\n",
                     page, failure->c_str());
    } else {
        QCoreApplication::processEvents();
        // Paper gets the page's picture, drawn at the printer's resolution.
        sent = pagePrinter().printPage(
            PrintedPage(canvas.image(), std::make_shared<const Picture>(canvas.picture())));
        canvas.rest();
    }
    Printing = 0;
    printBusy_ = false;
    if (unloadPending_) {
        unloadPending_ = false;
        unloadForm2();
    }
    return sent;
}

void Form1::Form_KeyDown(int keyCode) {
    if (KeyBusy || keysHeldFor_) return;
    switch (keyCode) {
    case vk::Escape:
        if (onEnding) onEnding();
        endProgram();
        break;
    case vk::Up:
    case vk::Backspace:
        Backward();
        KeyBusy = 1;
        break;
    case vk::Down:
    case vk::Return:
    case vk::Space:
        Forward();
        KeyBusy = 1;
        break;
    case vk::Home:
        KeyBusy = 1;
        ShowThisPic(0);
        break;
    case vk::End:
        KeyBusy = 1;
        ShowThisPic(lastPage());
        break;
    case vk::F1:
        if (profile_.f1SetsSkipWait) {
            SkipWait = 1;
            Replay::finishAll();
        }
        break;
    default:
        break;
    }
    KeyBusy = 0;
}

int Form1::virtualKey(int qtKey) {
    static constexpr std::pair<int, int> table[] = {
        {Qt::Key_Escape, vk::Escape}, {Qt::Key_Up, vk::Up},         {Qt::Key_Backspace, vk::Backspace},
        {Qt::Key_Down, vk::Down},     {Qt::Key_Return, vk::Return}, {Qt::Key_Enter, vk::Return},
        {Qt::Key_Space, vk::Space},   {Qt::Key_Home, vk::Home},     {Qt::Key_End, vk::End},
        {Qt::Key_F1, vk::F1},         {Qt::Key_Left, vk::Left},     {Qt::Key_Right, vk::Right},
        {Qt::Key_PageUp, vk::PageUp}, {Qt::Key_PageDown, vk::PageDown}};
    for (const auto& [qt, code] : table)
        if (qt == qtKey) return code;
    return 0;
}

void Form1::keyPressEvent(QKeyEvent* e) {
    if ((presentation_ && presentation_->key(e)) || windowKey(e) || pauseKey(e)) {
        e->accept();
        return;
    }
    // Ctrl+P prints as the print label does.
    if (e->matches(QKeySequence::Print)) {
        cmdPrint_Click();
        e->accept();
        return;
    }
    // The page in view as text, for pasting elsewhere.
    if (e->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(pageText(pic(CurPage)));
        e->accept();
        return;
    }
    const int vk = virtualKey(e->key());
    if (vk) Form_KeyDown(vk);
    e->accept();
}

void Form1::closeEvent(QCloseEvent* e) {
    // Closing is never refused.
    unloadForm2();
    closed_ = true;
    if (onEnding) onEnding();
    if (profile_.closeEndsProgram) endProgram();
    e->accept();
}

void Form1::paintEvent(QPaintEvent* e) {
    if (profile_.unloadsPrintCanvasOnPaint) unloadForm2();
    QWidget::paintEvent(e);
}

}  // namespace shell
