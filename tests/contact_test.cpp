// Contacts on every page of every chapter, on screen and on paper, and in the
// real windows with the widgets that lie on the pages: the ink of two pieces
// never touches unless they are drawn to join, no ink is cut off at an edge
// of the page (or of the widget it is drawn in), the pieces drawn to join do
// join, and text lines do not overprint one another (two lines' pieces
// touching is a contact like any other). Each piece's ink is found by
// drawing it alone (support/page_ink.h).
#include "chapter_catalog.h"
#include "context.h"
#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "printer.h"
#include "state.h"
#include "support/page_ink.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

// Touching is dark on dark: a dark pixel of one piece on or next to a dark
// pixel of the other, with no lighter pixel between them. (A grey edge
// next to ink is a near miss, which faces' own spacing makes everywhere.)
constexpr int kTouch = Ink::kDark;

bool isTextual(const DrawOp& op) {
    return (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) && !op.text.trimmed().isEmpty();
}

// Strokes: lines, outlines, circles and points. Filled areas are ground that
// text is printed on; clearings and copies carry nothing of their own.
bool isStroke(const DrawOp& op) {
    return op.kind == DrawOp::Line || op.kind == DrawOp::Rect || op.kind == DrawOp::Circle ||
           op.kind == DrawOp::Point;
}

bool inFace(const DrawOp& op, const char* face) { return op.font.face == QString::fromUtf8(face); }

bool isRadicalSign(const DrawOp& op) {
    return isTextual(op) && inFace(op, "Symbol") && op.text == QString(QChar(214));
}

// A fraction bar typed as a run of box-drawing dashes.
bool isBarRun(const DrawOp& op) {
    if (!isTextual(op)) return false;
    for (QChar ch : op.text.trimmed())
        if (ch != QChar(0x2500) && ch != QChar(0x2015)) return false;
    return true;
}

// A stroke drawn across a term to cancel it (birch's integrations by parts).
bool isCancellation(const DrawOp& op) {
    return op.kind == DrawOp::Line && resolveColor(op.pen.color) == resolveColor(colLime);
}

QString describe(const DrawOp& op) {
    if (!isTextual(op))
        return QStringLiteral("%1 (%2,%3)-(%4,%5)")
            .arg(QString::fromLatin1(opKindName(op.kind)))
            .arg(op.x1, 0, 'f', 1)
            .arg(op.y1, 0, 'f', 1)
            .arg(op.x2, 0, 'f', 1)
            .arg(op.y2, 0, 'f', 1);
    return QStringLiteral("\"%1\" (%2 %3pt at %4,%5)")
        .arg(op.meaning.isEmpty() ? op.text : op.meaning)
        .arg(op.font.face)
        .arg(op.font.size, 0, 'f', 1)
        .arg(op.x1, 0, 'f', 1)
        .arg(op.y1, 0, 'f', 1);
}

// The size a piece's own printer was called with: variables are enlarged by
// 1.15, the upright face by 1.2, and so is the upright pi.
double nominalSize(const DrawOp& op) {
    if (op.font.italic && (inFace(op, "Times New Roman") || inFace(op, "Century")))
        return op.font.size / 1.15;
    if (inFace(op, "Courier New")) return op.font.size / 1.2;
    if (inFace(op, "Symbol") && op.text == "p" && !op.font.italic) return op.font.size / 1.2;
    return op.font.size;
}

// A slash between digits belongs to the word as much as they do (π/2).
bool isLetterOrDigit(QChar ch) { return ch.isLetterOrNumber() || ch == QLatin1Char('/'); }

bool isGreek(QChar ch) { return ch.unicode() >= 0x0370 && ch.unicode() <= 0x03FF; }

// Two letters or digits of one word of a formula, the second set right
// after the first on the same line at the same size (2N, nx): the fallback
// italics lean back over the letter before them, as the faces' own kerning
// would let them. A Greek letter and a letter of another face (ωt, πn) have
// no kerning between them and must stand apart.
bool isOneWord(const DrawOp& a, const DrawOp& b) {
    if (!isTextual(a) || !isTextual(b) || a.angle || b.angle) return false;
    const QString ta = a.meaning.isEmpty() ? a.text : a.meaning;
    const QString tb = b.meaning.isEmpty() ? b.text : b.meaning;
    if (!isLetterOrDigit(ta.back()) || !isLetterOrDigit(tb.front())) return false;
    if (a.font.face != b.font.face && (isGreek(ta.back()) || isGreek(tb.front()))) return false;
    const double ratio = nominalSize(b) / nominalSize(a);
    return ratio > 0.95 && ratio < 1 / 0.95 && std::fabs(a.y1 - b.y1) <= 3 &&
           b.x1 - a.x2 > -2 && b.x1 - a.x2 < 3;
}

// The named exceptions: pairs drawn to meet. A sign made of pieces (a tall
// parenthesis, a brace, an integral) is one piece of ink; a radical sign
// runs into its rule; a bar typed in two runs is one bar; a cancelling
// stroke crosses what it cancels. Nothing else may touch: not a prime and
// its letter, not a limit and its sign, not a script and a parenthesis.
struct Exception {
    const char* name;
    bool (*applies)(const DrawOp& a, const DrawOp& b, bool sameSign);
};
const Exception exceptions[] = {
    {"pieces of one sign", [](const DrawOp&, const DrawOp&, bool sameSign) { return sameSign; }},
    {"a radical sign and the strokes of its rule",
     [](const DrawOp& a, const DrawOp& b, bool) {
         return (isRadicalSign(a) && isStroke(b)) || (isRadicalSign(b) && isStroke(a));
     }},
    {"two runs of one typed bar",
     [](const DrawOp& a, const DrawOp& b, bool) { return isBarRun(a) && isBarRun(b); }},
    {"letters of one word of a formula",
     [](const DrawOp& a, const DrawOp& b, bool) { return isOneWord(a, b) || isOneWord(b, a); }},
    {"turned equals signs stacked into one tall sign",
     [](const DrawOp& a, const DrawOp& b, bool) {
         return a.angle && b.angle && a.text == "=" && b.text == "=";
     }},
    {"a cancelling stroke and what it cancels",
     [](const DrawOp& a, const DrawOp& b, bool) { return isCancellation(a) || isCancellation(b); }},
};

const char* exceptionFor(const DrawOp& a, const DrawOp& b, bool sameSign) {
    for (const Exception& e : exceptions)
        if (e.applies(a, b, sameSign)) return e.name;
    return nullptr;
}

// The sign each operation belongs to: a sign's first piece carries its
// meaning, the pieces after it none. -1 for operations outside a sign.
std::vector<long> signsOf(const std::vector<DrawOp>& ops) {
    std::vector<long> sign(ops.size(), -1);
    for (size_t i = 1; i < ops.size(); ++i)
        if (isTextual(ops[i]) && ops[i].meaning.isEmpty()) {
            size_t j = i - 1;
            while (j > 0 && !isTextual(ops[j])) --j;
            if (isTextual(ops[j])) sign[i] = sign[j] >= 0 ? sign[j] : long(j);
        }
    for (size_t i = 0; i < ops.size(); ++i)
        if (sign[i] < 0 && std::count(sign.begin(), sign.end(), long(i)) > 0) sign[i] = long(i);
    return sign;
}

// Text printed opaque (its cell filled first) hides what was drawn under it
// before: the index of that cell's fill, or -1.
long opaqueCellOf(const std::vector<DrawOp>& ops, size_t i) {
    if (i == 0 || !isTextual(ops[i])) return -1;
    const DrawOp& f = ops[i - 1];
    return f.kind == DrawOp::FilledRect && f.x1 == ops[i].x1 && f.y1 == ops[i].y1 &&
                   f.x2 == ops[i].x2 && f.y2 == ops[i].y2
               ? long(i - 1)
               : -1;
}

Ink without(Ink ink, const QRectF& cell) {
    for (int y = 0; y < ink.mask.height(); ++y)
        for (int x = 0; x < ink.mask.width(); ++x)
            if (cell.contains(QPointF(x + ink.origin.x() + 0.5, y + ink.origin.y() + 0.5)))
                ink.mask.scanLine(y)[x] = 0;
    return ink;
}

// The faults of one picture on a surface whose visible part is `area`
// (page pixels), the picture replayed at `scale` (a zoom, or the printer's
// resolution over the canvas's).
std::vector<std::string> contactFaults(const std::vector<DrawOp>& ops, const QRect& pageArea, double scale = 1) {
    std::vector<std::string> faults;
    auto fault = [&faults](const QString& s) { faults.push_back(s.toStdString()); };
    std::vector<std::optional<Ink>> inks(ops.size());
    auto ink = [&](size_t i) -> const Ink& {
        if (!inks[i]) inks[i] = inkOf(ops[i], scale);
        return *inks[i];
    };
    const QRect area(QPoint(int(std::floor(pageArea.left() * scale)), int(std::floor(pageArea.top() * scale))),
                     QPoint(int(std::ceil((pageArea.right() + 1) * scale)) - 1,
                            int(std::ceil((pageArea.bottom() + 1) * scale)) - 1));
    const std::vector<long> sign = signsOf(ops);
    std::vector<size_t> textual, strokes;
    std::vector<QRect> reach(ops.size());
    for (size_t i = 0; i < ops.size(); ++i) {
        if (resolveColor(ops[i].pen.color) == resolveColor(RGB(255, 255, 255))) continue;
        if (isTextual(ops[i])) textual.push_back(i);
        else if (isStroke(ops[i])) strokes.push_back(i);
        else continue;
        reach[i] = reachOf(ops[i]);
    }

    for (size_t i : textual) {
        const Ink& a = ink(i);
        if (!a.empty() && !area.contains(a.box()))
            fault(QStringLiteral("%1 is cut off at the edge (ink %2,%3 to %4,%5)")
                      .arg(describe(ops[i]))
                      .arg(a.left)
                      .arg(a.top)
                      .arg(a.right)
                      .arg(a.bottom));
    }

    auto check = [&](size_t i, size_t j) {
        if (!reach[i].intersects(reach[j])) return;
        const bool sameSign = sign[i] >= 0 && sign[i] == sign[j];
        if (exceptionFor(ops[i], ops[j], sameSign)) return;
        // An opaque label blanks out the strokes drawn before it (hazel's
        // graph labels over their axes).
        const auto [t, o] = i > j ? std::pair(i, j) : std::pair(j, i);
        if (const long cell = opaqueCellOf(ops, t); cell >= 0 && !isTextual(ops[o])) {
            const DrawOp& f = ops[size_t(cell)];
            if (touches(ink(t), without(ink(o), QRectF(QPointF(f.x1, f.y1) * scale, QPointF(f.x2, f.y2) * scale)),
                        kTouch))
                fault(QStringLiteral("%1 touches %2").arg(describe(ops[i]), describe(ops[j])));
            return;
        }
        if (touches(ink(i), ink(j), kTouch))
            fault(QStringLiteral("%1 touches %2").arg(describe(ops[i]), describe(ops[j])));
    };
    for (size_t a = 0; a < textual.size(); ++a) {
        for (size_t b = a + 1; b < textual.size(); ++b) check(textual[a], textual[b]);
        for (size_t s : strokes) check(textual[a], s);
    }

    // A sign's pieces, one after another, make one unbroken stroke.
    for (size_t i = 1; i < ops.size(); ++i) {
        if (sign[i] < 0 || long(i) == sign[i]) continue;
        size_t j = i - 1;
        while (!isTextual(ops[j])) --j;
        if (sign[j] == sign[i] && !touches(ink(i), ink(j)))
            fault(QStringLiteral("the sign \"%1\" breaks between %2 and %3 (%4 px apart)")
                      .arg(ops[size_t(sign[i])].meaning, describe(ops[j]), describe(ops[i]))
                      .arg(gapBetween(ink(i), ink(j))));
    }
    return faults;
}

// The dark pixels of an image (page pixels from `origin`).
Ink inkOfImage(const QImage& image, QPoint origin = {}) {
    Ink r;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    r.origin = origin;
    r.mask = QImage(img.size(), QImage::Format_Grayscale8);
    r.top = origin.y() + img.height(), r.bottom = origin.y() - 1;
    r.left = origin.x() + img.width(), r.right = origin.x() - 1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int d = 255 - std::min({qRed(row[x]), qGreen(row[x]), qBlue(row[x])});
            r.mask.scanLine(y)[x] = uchar(d);
            if (d >= Ink::kDark) {
                r.top = std::min(r.top, y + origin.y()), r.bottom = std::max(r.bottom, y + origin.y());
                r.left = std::min(r.left, x + origin.x()), r.right = std::max(r.right, x + origin.x());
            }
        }
    }
    return r;
}

// A label's caption drawn as the label draws it but without its clip, in
// black on white, in the label's parent's coordinates: what it would show
// if nothing cut it off.
Ink captionInk(const QLabel& label) {
    constexpr int pad = 16;
    QImage img(label.size() + QSize(2 * pad, 2 * pad), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.translate(pad, pad);
        p.setFont(label.font());
        p.setPen(Qt::black);
        label.style()->drawItemText(&p, label.contentsRect(), int(label.alignment()), label.palette(),
                                    true, label.text());
    }
    return inkOfImage(img, label.pos() - QPoint(pad, pad));
}

QString widgetName(const QWidget& w) {
    if (const auto* l = qobject_cast<const QLabel*>(&w)) return QStringLiteral("label \"%1\"").arg(l->text());
    return QStringLiteral("%1 at %2,%3").arg(QString::fromLatin1(w.metaObject()->className()))
        .arg(w.x())
        .arg(w.y());
}

// A label's caption within its frame, not on it: a pixel clear inside a
// border; empty when it is.
std::string captionFault(const QLabel& label, const Ink& caption) {
    const int frame = label.frameWidth();
    const int in = frame ? frame + 1 : 0;
    const QRect inside = QRect(label.pos(), label.size()).adjusted(in, in, -in, -in);
    if (inside.contains(caption.box())) return {};
    return QStringLiteral("%1 is cut off by its %2 (ink %3,%4 to %5,%6 in %7,%8 to %9,%10)")
        .arg(widgetName(label), frame ? QStringLiteral("frame") : QStringLiteral("edge"))
        .arg(caption.left).arg(caption.top).arg(caption.right).arg(caption.bottom)
        .arg(inside.left()).arg(inside.top()).arg(inside.right()).arg(inside.bottom())
        .toStdString();
}

// What a page box's widgets do to its page: an opaque widget hides no ink
// of the page; a label shows all of its caption, inside its frame if it has
// one, and the caption touches nothing its parent draws; a figure box's own
// picture keeps the rules of a page.
std::vector<std::string> widgetFaults(PageBox& box) {
    std::vector<std::string> faults;
    auto fault = [&faults](const QString& s) { faults.push_back(s.toStdString()); };
    const std::vector<DrawOp>& ops = box.canvas().picture().ops();
    for (QWidget* w : box.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&box)) continue;
        const QRect at(w->mapTo(&box, QPoint(0, 0)), w->size());
        auto* label = qobject_cast<QLabel*>(w);
        // Page boxes and drawing boxes paint all of their area; labels only
        // when they fill their background.
        const bool opaque = !label || w->autoFillBackground();
        if (opaque && w->parentWidget() == &box)
            for (const DrawOp& op : ops) {
                if (!isTextual(op) || !reachOf(op).intersects(at)) continue;
                const Ink ink = inkOf(op);
                bool hidden = false;
                for (int y = std::max(at.top(), ink.top); y <= std::min(at.bottom(), ink.bottom) && !hidden; ++y)
                    for (int x = std::max(at.left(), ink.left); x <= std::min(at.right(), ink.right); ++x)
                        if (ink.at(x, y)) { hidden = true; break; }
                if (hidden) fault(QStringLiteral("%1 lies under %2").arg(describe(op), widgetName(*w)));
            }
        if (auto* figure = qobject_cast<PageBox*>(w))
            for (const std::string& f :
                 contactFaults(figure->canvas().picture().ops(), QRect(QPoint(0, 0), figure->size())))
                fault(QStringLiteral("in %1: %2").arg(widgetName(*w), QString::fromStdString(f)));
        if (!label || label->text().isEmpty()) continue;
        const Ink caption = captionInk(*label);
        if (std::string f = captionFault(*label, caption); !f.empty()) faults.push_back(f);
        // A label on a figure box: against what the box itself shows there,
        // its labels hidden for a moment.
        QWidget* parent = w->parentWidget();
        if (parent == &box) continue;
        std::vector<QLabel*> shown;
        for (QLabel* l : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (l->isVisibleTo(parent)) shown.push_back(l), l->hide();
        const Ink ground = inkOfImage(parent->grab().toImage());
        for (QLabel* l : shown) l->show();
        if (touches(caption, ground, kTouch))
            fault(QStringLiteral("%1 touches what %2 draws").arg(widgetName(*w), widgetName(*parent)));
    }
    return faults;
}

class Contacts : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([] {});
        installFaceSubstitutions();
        SkipWait = 1;
        auto keep = std::make_unique<KeepingPrinter>();
        paper = keep.get();
        setPagePrinter(std::move(keep));
    }
    void TearDown() override {
        setPagePrinter(nullptr);
        setEndProgramHandler({});
        resetShellState();
        CurPic = nullptr;
    }
    // Every chapter's window, started, with each of its pages on view in turn.
    template <typename F>
    void forEveryPage(F&& f) {
        for (const QString& name : chapterNames()) {
            // The specimen is a sheet of the library's pieces at test
            // positions, not a page of the course.
            if (name == QLatin1String("specimen")) continue;
            auto chapter = makeChapter(name);
            ASSERT_TRUE(chapter) << name.toStdString();
            Form1 window(*chapter);
            window.Form_Load();
            for (int n = 0; n <= window.lastPage(); ++n) {
                window.ShowThisPic(n);
                f(name.toStdString() + " page " + std::to_string(n), window, n);
            }
        }
    }
    KeepingPrinter* paper = nullptr;
};

// 600 dpi only without the sanitizers, under which it takes minutes.
#if defined(__SANITIZE_ADDRESS__)
constexpr double paperDpis[] = {96, 300};
#else
constexpr double paperDpis[] = {96, 300, 600};
#endif

TEST_F(Contacts, NoPieceTouchesAnotherOrTheEdgeOnScreenOrOnPaper) {
    int pages = 0;
    forEveryPage([&](const std::string& where, Form1& window, int n) {
        ++pages;
        const ChapterProfile& profile = window.chapter().profile();
        const RasterCanvas& screen = window.pic(n).canvas();
        // The window shows the page box down to the bottom of its client area.
        const QRect shown(0, 0, screen.pixelWidth(),
                          std::min(screen.pixelHeight(),
                                   profile.clientHeight - profile.designBoxGeometry[0].top));
        // At 100 %, and replayed at 200 % and 300 % as the zoomed window
        // draws it: what touches only when drawn larger shows there.
        for (double zoom : {1.0, 2.0, 3.0})
            for (const std::string& f : contactFaults(screen.picture().ops(), shown, zoom))
                ADD_FAILURE() << where << ", screen at " << zoom * 100 << " %: " << f;
        ASSERT_TRUE(window.cmdPrint_Click()) << where;
        const Picture& sheet = *paper->last.picture;
        // On paper as the canvas and at a printer's 300 and 600 dpi.
        for (double dpi : paperDpis)
            for (const std::string& f : contactFaults(sheet.ops(), QRect(QPoint(0, 0), sheet.size()), dpi / 96))
                ADD_FAILURE() << where << ", paper at " << dpi << " dpi: " << f;
    });
    EXPECT_EQ(pages, 31);
}

TEST_F(Contacts, TheWindowsWidgetsHideNoTextAndShowAllOfTheirOwn) {
    int widgets = 0;
    forEveryPage([&](const std::string& where, Form1& window, int n) {
        PageBox& box = window.pic(n);
        for (QWidget* w : box.findChildren<QWidget*>()) widgets += w->isVisibleTo(&box);
        for (const std::string& f : widgetFaults(box)) ADD_FAILURE() << where << ": " << f;
        // The window's own labels: the print label and the arrows.
        if (n == 0)
            for (const QLabel* l : {&window.cmdPrint(), &window.cmdBack(), &window.cmdGo()})
                if (std::string f = captionFault(*l, captionInk(*l)); !f.empty()) ADD_FAILURE() << where << ": " << f;
    });
    // cedar's square (its letters are in its picture) and five step
    // buttons, larch's two figure boxes.
    EXPECT_EQ(widgets, 1 + 5 + 2);
}

// The rules themselves, on a scratch page: a piece one pixel clear of a
// stroke is apart, next to it touches; what is cut off, what is drawn to
// join and an opaque label.
class ContactRules : public Contacts {
protected:
    void SetUp() override {
        Contacts::SetUp();
        InitColors();  // a cancelling stroke is known by its colour
    }
    // "l" in the body face at (x, y), and its ink.
    Ink letterAt(double x, double y) {
        page.FontName = QStringLiteral("メイリオ");
        page.FontSize = 13;
        page.CurrentX = float(x), page.CurrentY = float(y);
        page.Print(QStringLiteral("l"));
        return inkOf(page.picture().ops().back());
    }
    std::vector<std::string> faults() const { return contactFaults(page.picture().ops(), QRect(0, 0, 200, 100)); }
    RasterCanvas page{200, 100};
};

TEST_F(ContactRules, APixelClearIsApartNextToTheInkTouches) {
    const Ink l = letterAt(50, 30);
    ASSERT_FALSE(l.empty());
    const double x = l.right + 2;  // one clear column
    page.Line(x, l.top, x, l.bottom, 0);
    EXPECT_TRUE(faults().empty());
    page.Cls();
    letterAt(50, 30);
    page.Line(l.right + 1, l.top, l.right + 1, l.bottom, 0);
    ASSERT_EQ(faults().size(), 1u);
    EXPECT_NE(faults()[0].find("touches line"), std::string::npos) << faults()[0];
}

TEST_F(ContactRules, InkBeyondAnEdgeIsCutOff) {
    const Ink l = letterAt(50, -8);
    ASSERT_LT(l.top, 0);
    ASSERT_EQ(faults().size(), 1u);
    EXPECT_NE(faults()[0].find("is cut off at the edge"), std::string::npos);
}

TEST_F(ContactRules, PiecesOfOneSignMustJoinAndMayTouch) {
    page.FontName = QStringLiteral("Symbol");
    page.FontSize = 13;
    {
        OneSign sign(page, QStringLiteral("("));
        page.glyphs(40, 20, QByteArray(1, char(230)), true);
        page.glyphs(40, 34, QByteArray(1, char(232)), true);
    }
    EXPECT_TRUE(faults().empty());
    page.Cls();
    {
        OneSign sign(page, QStringLiteral("("));
        page.glyphs(40, 20, QByteArray(1, char(230)), true);
        page.glyphs(40, 44, QByteArray(1, char(232)), true);
    }
    ASSERT_EQ(faults().size(), 1u);
    EXPECT_NE(faults()[0].find("the sign \"(\" breaks"), std::string::npos) << faults()[0];
    // The same two pieces as two signs must not touch.
    page.Cls();
    page.glyphs(40, 20, QByteArray(1, char(230)), true);
    page.glyphs(40, 34, QByteArray(1, char(232)), true);
    EXPECT_EQ(faults().size(), 1u);
}

TEST_F(ContactRules, ARadicalMeetsItsRuleAPrimeMustNotMeetItsLetter) {
    page.FontName = QStringLiteral("Symbol");
    page.FontSize = 13;
    page.CurrentX = 40, page.CurrentY = 30;
    page.Print(QString(QChar(214)));
    const Ink sign = inkOf(page.picture().ops().back());
    page.Line(sign.right - 1, sign.top, sign.right + 40, sign.top, colGray);
    EXPECT_TRUE(faults().empty());
    page.Cls();
    const Ink l = letterAt(50, 30);
    page.FontName = QStringLiteral("Verdana");
    page.CurrentX = float(l.right - 2), page.CurrentY = 30;
    page.Print(QStringLiteral("'"));
    EXPECT_EQ(faults().size(), 1u);
}

TEST_F(ContactRules, AnOpaqueLabelHidesStrokesDrawnBeforeItNotAfter) {
    page.Line(40, 40, 160, 40, 0);
    page.FontTransparent = false;
    const Ink l = letterAt(50, 28);
    ASSERT_TRUE(l.top < 40 && l.bottom > 40);
    EXPECT_TRUE(faults().empty());
    page.Line(40, 38, 160, 38, 0);
    EXPECT_EQ(faults().size(), 1u);
}

// Places where touching is not the only fault: a prime stands close to its
// letter but apart, an initial of cedar's mnemonic stays with the rest of
// its word, labels and the side text keep a clear gap. For each piece
// showing `a`, the nearest piece showing `b` (or stroke, for an empty `b`)
// lies between `least` and `most` clear pixels away (pieces more than 16
// px apart are not neighbours).
struct Spacing {
    const char* chapter;
    int page;
    const char *a, *b;
    int least, most;
};
constexpr Spacing spacings[] = {
    {"larch", 1, "J", "'", 1, 2},  {"larch", 0, "t", "'", 1, 2},
    {"birch", 3, "J", "′", 1, 2},  {"birch", 4, "J", "′", 1, 2},
    {"cedar", 1, "P", "hysicists ", 0, 2}, {"cedar", 1, "H", "ave ", 0, 2},
    {"cedar", 1, "T", "eachers.", 0, 2},
    {"alder", 3, "200", "300", 5, 12},
    {"rowan", 3, "α", "左に上下に積み重ねます．", 8, 16},
    {"maple", 0, "π", "", 3, 12},
};

TEST_F(Contacts, NamedPlacesKeepTheirGaps) {
    int checked = 0;
    forEveryPage([&](const std::string& where, Form1& window, int n) {
        const std::vector<DrawOp>& ops = window.pic(n).canvas().picture().ops();
        for (const Spacing& sp : spacings) {
            if (window.chapter().profile().name != QLatin1String(sp.chapter) || sp.page != n) continue;
            const QString a = QString::fromUtf8(sp.a), b = QString::fromUtf8(sp.b);
            auto shows = [](const DrawOp& op, const QString& t) {
                return isTextual(op) && (op.meaning == t || op.text == t);
            };
            int found = 0;
            for (const DrawOp& x : ops) {
                if (!shows(x, a)) continue;
                const Ink ix = inkOf(x);
                int nearest = -1;
                for (const DrawOp& y : ops) {
                    const bool partner = b.isEmpty() ? isStroke(y) : shows(y, b);
                    if (!partner || &x == &y || !reachOf(x).adjusted(-16, -16, 16, 16).intersects(reachOf(y)))
                        continue;
                    const int g = gapBetween(ix, inkOf(y));
                    if (g >= 0 && (nearest < 0 || g < nearest)) nearest = g;
                }
                // Only the a's that have such a neighbour within 16 px: not
                // every J is primed.
                if (nearest < 0 || nearest > 16) continue;
                ++found;
                EXPECT_GE(nearest, sp.least) << where << ": " << sp.a << " and " << sp.b;
                EXPECT_LE(nearest, sp.most) << where << ": " << sp.a << " and " << sp.b;
            }
            EXPECT_GT(found, 0) << where << ": " << sp.a;
            ++checked;
        }
    });
    EXPECT_EQ(checked, int(std::size(spacings)));
}

}  // namespace

