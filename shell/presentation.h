// The lecture hall: the viewer's window shown to the audience (full screen
// on a screen of its own where there is one) and a presenter view beside it
// with the page the hall sees, the next page, where the drawing stands and
// the time; clicker keys, a blanked hall and a pointer.
#pragma once

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <vector>

class QKeyEvent;
class QScreen;

namespace shell {

class Form1;
class Replay;
class PageBox;

// Which screens a presentation uses, as indexes into the screen list: the
// presenter view on the primary screen, the hall on the largest of the
// others (the first of equals). hall is -1 when there is no other screen;
// both are -1 when there is no screen at all.
struct PresentationScreens {
    int presenter = -1;
    int hall = -1;
};
PresentationScreens choosePresentationScreens(const std::vector<QRect>& screens, int primary);

// What the hall shows instead of the page while the lecturer talks.
enum class Blank { None, Black, White };

class PresenterView;

class Presentation : public QObject {
    Q_OBJECT
public:
    // Takes the window over for the audience; screens as the application
    // has them now.
    explicit Presentation(Form1& hall);
    ~Presentation() override;

    // True when the hall is shown on the presenter's own screen (there is
    // no other): only while full screen, so that the presenter view is seen
    // the rest of the time.
    bool sharesScreen() const { return hallScreen_ == nullptr; }
    QScreen* hallScreen() const { return hallScreen_; }

    // The keys of the presenter view, from either window; true when the key
    // was one of them.
    bool key(QKeyEvent* e);

    // The next step of the page in view (a construction waiting for its
    // step), else the next page; and back a page.
    void advance();
    void back();

    // Blanking: a second press of any blanking key shows the page again.
    void toggleBlank(Blank colour);
    Blank blank() const { return blank_; }

    // The pointer: a red dot at a place on the page in view, as a fraction
    // of the page's width and height; nothing hides it.
    void pointAt(std::optional<QPointF> where);
    std::optional<QPointF> pointer() const { return pointer_; }

    PresenterView& view() { return *view_; }
    Form1& hall() { return hall_; }
    // The step the page in view waits for, if any (a construction's step
    // label that is shown and can be pressed).
    QWidget* waitingStep() const;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void placeOverlays();
    void watchPages();

    Form1& hall_;
    QScreen* hallScreen_ = nullptr;
    PresenterView* view_;
    QWidget* blankCover_;
    QWidget* dot_;
    Blank blank_ = Blank::None;
    std::optional<QPointF> pointer_;
};

// The lecturer's window: the page as the hall sees it, the next page, page
// and step, the time since the presentation began and the clock.
class PresenterView : public QWidget {
    Q_OBJECT
public:
    PresenterView(Presentation& presentation, Form1& hall);
    // The hall changed: paint again soon (a burst of drawing paints once).
    void hallChanged();
    // The header's words, as painted: "ページ 2 / 5", the drawing's state,
    // the hall's blanking, the time since the start and the clock.
    QString statusLine() const;
    QString timeLine() const;
    // Where the page in view and the next page are painted.
    QRect currentArea() const;
    QRect nextArea() const;

    // The rectangle a page box of that size fills, kept in proportion,
    // centred in area.
    static QRect fitted(QSize page, const QRect& area);

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void paintPage(QPainter& p, PageBox& box, const QRect& area);
    // The page in view as its drawing will stand at its next step, or
    // finished: the page's picture ahead, its controls as they are now.
    void paintAhead(QPainter& p, PageBox& box, const Replay& drawing, const QRect& r);
    std::optional<QPointF> pagePlace(QPoint at) const;

    Presentation& presentation_;
    Form1& hall_;
    QElapsedTimer since_;
    QTimer clock_;
    QTimer soon_;
    QPixmap next_;
    struct NextKey {
        int page = -1;
        size_t ops = 0;
        uint64_t generation = 0;
        QSize size;
        const void* ahead = nullptr;  // the drawing looked ahead of, and its step
        const void* step = nullptr;
        bool operator==(const NextKey&) const = default;
    } nextKey_;
    bool painting_ = false;

    friend class Presentation;
};

}  // namespace shell
