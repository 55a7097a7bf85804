#include "presentation.h"

#include "form1.h"
#include "label_button.h"
#include "replay.h"
#include "page_box.h"
#include "state.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTime>
#include <algorithm>

namespace shell {

PresentationScreens choosePresentationScreens(const std::vector<QRect>& screens, int primary) {
    PresentationScreens chosen;
    if (screens.empty()) return chosen;
    chosen.presenter = primary >= 0 && primary < int(screens.size()) ? primary : 0;
    qint64 largest = -1;
    for (int i = 0; i < int(screens.size()); ++i) {
        if (i == chosen.presenter) continue;
        // A screen that lies inside the presenter's (a mirrored output) is
        // no second screen: the hall would show the presenter's notes.
        if (chosen.presenter >= 0 && screens[size_t(chosen.presenter)].contains(screens[size_t(i)])) continue;
        const qint64 area = qint64(screens[size_t(i)].width()) * screens[size_t(i)].height();
        if (area > largest) {
            largest = area;
            chosen.hall = i;
        }
    }
    return chosen;
}

namespace {

// The pointer's dot, drawn round on whatever lies under it.
class PointerDot : public QWidget {
public:
    explicit PointerDot(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
        p.setBrush(QColor(230, 0, 0, 220));
        p.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
};

constexpr int dotDiameter = 16;  // at 100 %

QString clockText(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

Presentation::Presentation(Form1& hall) : hall_(hall) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    std::vector<QRect> geometries;
    for (QScreen* s : screens) geometries.push_back(s->geometry());
    const int primary = int(screens.indexOf(QGuiApplication::primaryScreen()));
    const PresentationScreens chosen = choosePresentationScreens(geometries, primary);
    if (chosen.hall >= 0) hallScreen_ = screens[chosen.hall];

    blankCover_ = new QWidget(&hall_);
    blankCover_->setAutoFillBackground(true);
    blankCover_->hide();
    dot_ = new PointerDot(&hall_);
    hall_.installEventFilter(this);
    watchPages();

    view_ = new PresenterView(*this, hall_);
    if (chosen.presenter >= 0) {
        QScreen* own = screens[chosen.presenter];
        view_->setScreen(own);
        const QRect room = own->availableGeometry();
        view_->setGeometry(room.adjusted(room.width() / 16, room.height() / 16, -room.width() / 16,
                                         -room.height() / 16));
    }
    view_->show();
    view_->activateWindow();
}

Presentation::~Presentation() {
    for (int n = 0; n < hall_.boxCount(); ++n) hall_.pic(n).onDrawn = {};
    delete view_;
    delete blankCover_;
    delete dot_;
}

void Presentation::watchPages() {
    // The presenter paints again when the hall does (a drawing moves on, a
    // letter of the square changes), or when a page is drawn on unseen.
    for (int n = 0; n < hall_.boxCount(); ++n) {
        PageBox& box = hall_.pic(n);
        box.installEventFilter(this);
        for (QWidget* w : box.findChildren<QWidget*>()) w->installEventFilter(this);
        box.onDrawn = [this] { view_->hallChanged(); };
    }
}

bool Presentation::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &hall_) {
        if (e->type() == QEvent::Resize) placeOverlays();
        return false;
    }
    // The presenter's own copies of the pages paint the hall's widgets too;
    // those paints are not news.
    if (e->type() == QEvent::Paint && !view_->painting_) view_->hallChanged();
    return false;
}

QWidget* Presentation::waitingStep() const {
    PageBox& box = hall_.pic(CurPage);
    for (LabelButton* b : box.findChildren<LabelButton*>())
        if (b->isVisibleTo(&box) && b->isEnabled()) return b;
    return nullptr;
}

void Presentation::advance() {
    if (auto* step = static_cast<LabelButton*>(waitingStep())) step->press();
    else hall_.Forward();
    pointAt(std::nullopt);
    view_->hallChanged();
}

void Presentation::back() {
    // A construction under way goes back a step before the page goes back.
    if (!hall_.stepBack()) hall_.Backward();
    pointAt(std::nullopt);
    view_->hallChanged();
}

void Presentation::toggleBlank(Blank colour) {
    blank_ = blank_ == Blank::None ? colour : Blank::None;
    QPalette pal = blankCover_->palette();
    pal.setColor(QPalette::Window, blank_ == Blank::White ? Qt::white : Qt::black);
    blankCover_->setPalette(pal);
    placeOverlays();
    blankCover_->setVisible(blank_ != Blank::None);
    blankCover_->raise();
    view_->update();
}

void Presentation::pointAt(std::optional<QPointF> where) {
    pointer_ = where;
    placeOverlays();
    view_->update();
}

void Presentation::placeOverlays() {
    blankCover_->setGeometry(hall_.rect());
    if (!pointer_ || blank_ != Blank::None) {
        dot_->hide();
        return;
    }
    const PageBox& box = hall_.pic(CurPage);
    const QPoint origin = box.mapTo(&hall_, QPoint(0, 0));
    const int d = std::max(6, int(std::lround(dotDiameter * hall_.scale())));
    const QPoint centre(origin.x() + int(std::lround(pointer_->x() * box.width())),
                        origin.y() + int(std::lround(pointer_->y() * box.height())));
    dot_->setGeometry(centre.x() - d / 2, centre.y() - d / 2, d, d);
    dot_->show();
    dot_->raise();
}

bool Presentation::key(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods) return false;
    switch (e->key()) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        advance();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        back();
        return true;
    case Qt::Key_B:
    case Qt::Key_Period:
        toggleBlank(Blank::Black);
        return true;
    case Qt::Key_W:
        toggleBlank(Blank::White);
        return true;
    case Qt::Key_F11:
        // On one screen the hall is shown only while full screen, over the
        // presenter view; elsewhere F11 is the window's own.
        if (!sharesScreen()) return false;
        hall_.setFullScreen(!hall_.fullScreen());
        return true;
    case Qt::Key_Escape:
        if (sharesScreen() && hall_.fullScreen()) {
            hall_.setFullScreen(false);
            view_->activateWindow();
            return true;
        }
        [[fallthrough]];
    case Qt::Key_F5:
        // Out of the presentation, back to the plain window; later, as the
        // key's own window may be the one that goes.
        QTimer::singleShot(0, &hall_, [h = &hall_] { h->endPresentation(); });
        return true;
    default:
        return false;
    }
}

PresenterView::PresenterView(Presentation& presentation, Form1& hall)
    : presentation_(presentation), hall_(hall) {
    setWindowTitle(QStringLiteral("発表者ビュー — %1").arg(hall.windowTitle()));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(1280, 800);
    since_.start();
    // The clock moves once a second; nothing else wakes the view unless the
    // hall changed.
    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, [this] { update(); });
    clock_.start();
    // A drawing under way is copied ten times a second: enough to follow
    // it, and the copy of a large hall page costs a few milliseconds.
    soon_.setSingleShot(true);
    soon_.setInterval(100);
    connect(&soon_, &QTimer::timeout, this, [this] { update(); });
    connect(&hall, &Form1::viewShown, this, [this] { hallChanged(); });
}

void PresenterView::hallChanged() {
    if (!soon_.isActive()) soon_.start();
}

QString PresenterView::statusLine() const {
    QString line = QStringLiteral("ページ %1 / %2").arg(CurPage + 1).arg(hall_.lastPage() + 1);
    const QString drawing = Replay::statusOn(hall_.pic(CurPage).canvas());
    if (!drawing.isEmpty()) line += QStringLiteral("　") + drawing;
    switch (presentation_.blank()) {
    case Blank::Black: line += QStringLiteral("　会場：黒"); break;
    case Blank::White: line += QStringLiteral("　会場：白"); break;
    case Blank::None: break;
    }
    return line;
}

QString PresenterView::timeLine() const {
    return QStringLiteral("経過 %1　%2")
        .arg(clockText(since_.elapsed()), QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

QRect PresenterView::currentArea() const {
    const int top = 64, margin = 16;
    const int w = (width() - 3 * margin) * 64 / 100;
    return {margin, top, w, height() - top - margin};
}

QRect PresenterView::nextArea() const {
    const QRect cur = currentArea();
    const int left = cur.right() + 1 + 16, top = cur.top() + 32;
    return {left, top, width() - left - 16, cur.height() / 2};
}

QRect PresenterView::fitted(QSize page, const QRect& area) {
    if (page.isEmpty() || area.isEmpty()) return {area.topLeft(), QSize(0, 0)};
    const double s = std::min(double(area.width()) / page.width(), double(area.height()) / page.height());
    const QSize size(int(page.width() * s), int(page.height() * s));
    return {area.left() + (area.width() - size.width()) / 2, area.top(), size.width(), size.height()};
}

void PresenterView::paintPage(QPainter& p, PageBox& box, const QRect& area) {
    const QRect r = fitted(box.size(), area);
    if (r.isEmpty()) return;
    p.save();
    p.translate(r.topLeft());
    p.scale(double(r.width()) / box.width(), double(r.height()) / box.height());
    painting_ = true;
    box.render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
    painting_ = false;
    p.restore();
    p.setPen(QColor(120, 120, 120));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(-1, -1, 0, 0));
}

void PresenterView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(32, 32, 36));
    QFont f = font();
    f.setPixelSize(22);
    p.setFont(f);
    p.setPen(Qt::white);
    const QRect header(16, 8, width() - 32, 48);
    p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, statusLine());
    p.drawText(header, Qt::AlignRight | Qt::AlignVCenter, timeLine());

    PageBox& box = hall_.pic(CurPage);
    const QRect cur = currentArea();
    paintPage(p, box, cur);
    if (const auto at = presentation_.pointer()) {
        const QRect r = fitted(box.size(), cur);
        const QPointF c(r.left() + at->x() * r.width(), r.top() + at->y() * r.height());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(QColor(230, 0, 0));
        p.drawEllipse(c, 7.0, 7.0);
    }

    const QRect next = nextArea();
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(QColor(200, 200, 200));
    const QRect caption(next.left(), next.top() - 30, next.width(), 26);
    if (const Replay* drawing = Replay::on(box.canvas())) {
        QWidget* const step = presentation_.waitingStep();
        p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                   step ? QStringLiteral("次の Step") : QStringLiteral("描き終わったところ"));
        const QRect r = fitted(box.size(), next);
        const NextKey key{CurPage, 0, 0, r.size(), drawing, step};
        if (!(key == nextKey_) || next_.isNull()) {
            // Once per step, not at every line the drawing shows.
            const qreal dpr = devicePixelRatioF();
            next_ = QPixmap(r.size() * dpr);
            next_.setDevicePixelRatio(dpr);
            QPainter pp(&next_);
            paintAhead(pp, box, *drawing, QRect(QPoint(), r.size()));
            nextKey_ = key;
        }
        p.drawPixmap(r.topLeft(), next_);
        p.setPen(QColor(120, 120, 120));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        return;
    }
    if (CurPage >= hall_.lastPage()) {
        p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("最後のページです"));
        return;
    }
    PageBox& following = hall_.pic(CurPage + 1);
    const typeset::Picture& picture = following.canvas().picture();
    if (picture.ops().empty()) {
        // A page drawn only when it is shown (a traced graph) has nothing to
        // preview until then.
        p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("次のページ（表示すると描かれます）"));
        return;
    }
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("次のページ"));
    const QRect r = fitted(following.size(), next);
    const NextKey key{CurPage + 1, picture.ops().size(), picture.generation(), r.size()};
    if (!(key == nextKey_) || next_.isNull()) {
        // Drawn once per page and size, not at every tick of the clock.
        const qreal dpr = devicePixelRatioF();
        next_ = QPixmap(r.size() * dpr);
        next_.setDevicePixelRatio(dpr);
        QPainter pp(&next_);
        pp.setRenderHint(QPainter::SmoothPixmapTransform);
        pp.scale(double(r.width()) / following.width(), double(r.height()) / following.height());
        painting_ = true;
        following.render(&pp, QPoint(), QRegion(), QWidget::DrawChildren);
        painting_ = false;
        nextKey_ = key;
    }
    p.drawPixmap(r.topLeft(), next_);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(r.adjusted(-1, -1, 0, 0));
}

void PresenterView::paintAhead(QPainter& p, PageBox& box, const Replay& drawing, const QRect& r) {
    const typeset::RasterCanvas& page = box.canvas();
    typeset::RasterCanvas ahead(page.pixelWidth(), page.pixelHeight());
    ahead.keepPicture(false);
    drawing.lookAhead(ahead);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(r), ahead.image());
    p.scale(double(r.width()) / box.width(), double(r.height()) / box.height());
    painting_ = true;
    for (QWidget* child : box.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isVisibleTo(&box)) continue;
        // A figure box the drawing paces (cedar's square) as it will stand.
        if (auto* figure = qobject_cast<PageBox*>(child)) {
            const typeset::RasterCanvas& c = figure->canvas();
            typeset::RasterCanvas aheadOfFigure(c.pixelWidth(), c.pixelHeight());
            aheadOfFigure.keepPicture(false);
            if (drawing.lookAhead(aheadOfFigure, c)) {
                p.drawImage(QRectF(child->geometry()), aheadOfFigure.image());
                continue;
            }
        }
        child->render(&p, child->pos(), QRegion(), QWidget::DrawChildren);
    }
    painting_ = false;
}

std::optional<QPointF> PresenterView::pagePlace(QPoint at) const {
    const QRect r = fitted(hall_.pic(CurPage).size(), currentArea());
    if (r.isEmpty() || !r.contains(at)) return std::nullopt;
    return QPointF(double(at.x() - r.left()) / r.width(), double(at.y() - r.top()) / r.height());
}

void PresenterView::keyPressEvent(QKeyEvent* e) {
    if (presentation_.key(e)) {
        e->accept();
        return;
    }
    // Everything else as the hall's window takes it (zoom, pause, F1, print).
    QCoreApplication::sendEvent(&hall_, e);
}

void PresenterView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) presentation_.pointAt(pagePlace(e->position().toPoint()));
}

void PresenterView::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) presentation_.pointAt(pagePlace(e->position().toPoint()));
}

void PresenterView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) presentation_.pointAt(std::nullopt);
}

void PresenterView::closeEvent(QCloseEvent* e) {
    QTimer::singleShot(0, &hall_, [h = &hall_] { h->endPresentation(); });
    e->accept();
}

bool Form1::startPresentation() {
    if (presentation_) return true;
    if (QGuiApplication::screens().isEmpty()) return false;
    fullScreenBeforePresenting_ = fullScreen_;
    presentation_ = std::make_unique<Presentation>(*this);
    if (QScreen* hallScreen = presentation_->hallScreen()) {
        // The hall's own screen, the page as large as fits there.
        setScreen(hallScreen);
        if (fullScreen_ && isVisible()) showScaled();
        else setFullScreen(true);
    } else if (isVisible() && !fullScreen_) {
        hide();
    }
    return true;
}

void Form1::endPresentation() {
    if (!presentation_) return;
    const bool hadOwnScreen = presentation_->hallScreen() != nullptr;
    presentation_.reset();
    if (hadOwnScreen) setScreen(QGuiApplication::primaryScreen());
    if (fullScreen_ != fullScreenBeforePresenting_) setFullScreen(fullScreenBeforePresenting_);
    if (!isVisible()) showScaled();
    activateWindow();
    if (onViewChanged) onViewChanged();
}

}  // namespace shell
