// The viewer window: page boxes, the three button labels and the title, the
// start-up sequence, paging, printing and the keyboard. Its size (zoom, full
// screen, scrolling) is in window_sizing.cpp, the lecture hall in
// presentation.cpp, the dark-hall colours in projection.cpp.
#pragma once

#include "chapter.h"
#include "context.h"
#include "label_button.h"
#include "page_box.h"
#include "print_canvas.h"
#include "zoom.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace shell {

// The Windows virtual key codes the viewers act on (Form_KeyDown's input).
namespace vk {
constexpr int Backspace = 8, Return = 13, Escape = 27, Space = 32, PageUp = 33, PageDown = 34,
              End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40, F1 = 112;
}  // namespace vk

class Presentation;

class Form1 : public QWidget, public typeset::FormSurface {
    Q_OBJECT
public:
    explicit Form1(Chapter& chapter);
    ~Form1() override;

    // Start-up: measures the layout units, shows the window and draws the
    // start-up pages.
    void Form_Load();
    void ShowThisPic(int32_t n);
    // ShowThisPic once start-up has drawn its pages (at once if it has).
    void showOnceStarted(int32_t n);
    // Takes the drawing on the page in view back to its step before the one
    // it waits for (drawn afresh and hurried there); false when it waits for
    // its first step or for none.
    bool stepBack();
    void Forward();
    void Backward();
    void cmdGo_Click() { Forward(); }
    void cmdBack_Click() { Backward(); }
    // True when a page went out to the printer.
    bool cmdPrint_Click();
    // Windows virtual key codes; the shift state is ignored.
    void Form_KeyDown(int keyCode);

    int lastPage() const { return profile_.pages - 1; }
    PageBox& pic(int n) { return *pic_.at(size_t(n)); }
    int boxCount() const { return int(pic_.size()); }
    LabelButton& cmdPrint() { return *cmdPrint_; }
    LabelButton& cmdBack() { return *cmdBack_; }
    LabelButton& cmdGo() { return *cmdGo_; }
    QLabel& Label1() { return *label1_; }
    Chapter& chapter() { return chapter_; }

    // The print canvas, loaded on demand.
    PrintCanvas& Form2();
    bool form2Loaded() const { return form2_ != nullptr; }
    // Unloading waits for a print in progress: its page is still being drawn
    // on the print canvas.
    void unloadForm2();

    // True once the window has been closed by the reader.
    bool closed() const { return closed_; }
    bool startupDone() const { return startupDone_; }

    // FormSurface (dspInit's view of the window).
    Color formBackColor() const override { return backColor_; }
    void setFormBackColor(Color c) override;
    void setControlsBackColor(Color c) override;

    // Virtual key code of a Qt key (0 for keys the viewers never look at).
    static int virtualKey(int qtKey);

    // The client area's widgets at 100 %, shown at the zoom in force;
    // chapters place the controls they add through it.
    ClientLayout& layout() { return layout_; }
    // Zoom, in per cent (50 to 400): the whole client area scales as one and
    // the window takes its size, within the screen's available area.
    void setZoom(int percent);
    int zoom() const { return zoom_; }
    void zoomIn() { setZoom(nextZoomStep(zoom_, 1)); }
    void zoomOut() { setZoom(nextZoomStep(zoom_, -1)); }
    // The scale the client area is shown at (in full screen: the largest
    // that fits the screen).
    double scale() const { return layout_.scale(); }
    // Full screen: the client area as large as fits, centred on white. Before
    // start-up it only asks for it: the window opens so.
    void setFullScreen(bool on);
    bool fullScreen() const { return fullScreen_; }
    // Full screen as the reader chose it, not as a presentation has it.
    bool keptFullScreen() const { return presentation_ ? fullScreenBeforePresenting_ : fullScreen_; }
    // The largest zoom step at which the window fits the screen at start.
    int fittingZoom() const;

    // Told when the page in view, the zoom or full screen changed, and when
    // the program is about to end (settings are kept through them).
    std::function<void()> onViewChanged, onEnding;

    // The lecture hall: this window for the audience and a presenter view
    // (F5 starts it, Escape or F5 in it ends it). With no screen at all it
    // cannot start: false, and nothing changes.
    bool startPresentation();
    void endPresentation();
    Presentation* presentation() { return presentation_.get(); }
    // The page shown for a dark hall: lightness turned over, hues kept
    // (Ctrl+I); the screen only, never paper or the PDF.
    void setInverted(bool on);
    bool inverted() const { return inverted_; }

signals:
    // A page came into view (paging, Home, End, start-up).
    void viewShown();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    PageBox* addBox(const Rect& g);
    // ShowThisPic without drawing: the current page, its box and the arrows.
    void showBoxes(int32_t n);
    // Draws page n on its box; a paced drawing goes on showing after it
    // returns.
    void drawOnBox(int32_t n);
    // The drawing ShowThisPic does, for the screen even during a print.
    void redraw(int32_t n);
    // The start-up pages from the from-th on; a page drawn in view that
    // waits for the reader holds back the rest until its drawing is done.
    void drawStartupPages(size_t from);
    // What follows once a page's drawing has shown to its end.
    void drawn(typeset::RasterCanvas& c);
    void styleButton(LabelButton& b, Color back);
    void placeWindow();
    // The zoom keys and full screen; true when the key was one of them.
    bool windowKey(QKeyEvent* e);
    // P and Pause: the paced drawing of the page in view stops or goes on;
    // true when the key was one of them.
    bool pauseKey(QKeyEvent* e);
    void announceDrawing(const typeset::Canvas& canvas);
    void showScaled();
    // The window's own colour, as the dark-hall colours show it.
    void showBackColor();
    // The client area at the zoom in force, scrolled where it does not fit
    // the window, or as large as fits in full screen.
    void layOut();
    QSize clientSize() const { return {profile_.clientWidth, profile_.clientHeight}; }
    // The client area's size at a scale, in whole pixels.
    QSize clientSizeAt(double scale) const;

    Chapter& chapter_;
    const ChapterProfile& profile_;
    std::vector<PageBox*> pic_;
    LabelButton* cmdPrint_;
    LabelButton* cmdBack_;
    LabelButton* cmdGo_;
    QLabel* label1_;
    std::unique_ptr<PrintCanvas> form2_;
    Color backColor_;
    int32_t KeyBusy = 0;
    // The page a Home or End page change is still drawing: keys are dropped
    // until it is drawn.
    const typeset::Canvas* keysHeldFor_ = nullptr;
    int32_t pageAfterStartup_ = -1;
    QList<int32_t> redrawSoon_;  // pages to be drawn afresh once the events in hand are done
    // A start-up page whose drawing waits for the reader holds back the rest
    // of start-up until it is drawn.
    const typeset::Canvas* startupWaitsFor_ = nullptr;
    std::function<void()> startupGoesOn_;
    bool closed_ = false;
    bool startupDone_ = false;
    bool unloadPending_ = false;
    bool printBusy_ = false;  // cmdPrint_Click under way
    ClientLayout layout_;
    ClientScroller scroller_{this};
    int zoom_ = 100;
    bool firstPaintDone_ = false;
    bool fullScreen_ = false;
    bool placed_ = false;  // start-up has shown the window (or kept it for the hall)
    std::unique_ptr<Presentation> presentation_;
    bool fullScreenBeforePresenting_ = false;
    bool inverted_ = false;
};

}  // namespace shell
