#include "square_box.h"

#include "faces.h"
#include "text.h"

#include <QStringList>
#include <algorithm>
#include <tuple>

namespace chapters {

namespace {

struct LetterPlace {
    const char* caption;
    int x, y;  // the letter's top-left
};
// The finished square V F T / U G / S H p, and L(0), a spare "U" that the
// construction never shows. No cell reaches into the square (50 to 251),
// so a letter never lies over a stroke.
constexpr LetterPlace letterPlaces[SquareBox::letters] = {
    {"U", 23, 112}, {"E", 21, 143},  {"F", 155, 15}, {"G", 280, 144}, {"H", 143, 266},
    {"p", 267, 263}, {"S", 17, 261}, {"V", 19, 17},  {"T", 270, 22},
};

// The letters row by row, as the square is read: V F T / U G / S H p.
constexpr int readingOrder[] = {7, 2, 8, 1, 3, 6, 4, 5, 0};

const Color black = RGB(0, 0, 0);

}  // namespace

SquareBox::SquareBox(QWidget* parent, int left, int top)
    : PageBox(parent, {left, top, Width, Height}) {
    canvas().BackColor = RGB(255, 255, 255);
    showFinished();
}

void SquareBox::showFinished() {
    strokes_.clear();
    for (int i = 0; i < letters; ++i) text_[size_t(i)] = QString::fromLatin1(letterPlaces[i].caption);
    text_[1] = QStringLiteral("U");
    shown_.set();
    shown_.reset(0);
    outline_ = true;
    redraw();
}

void SquareBox::clearForConstruction() {
    strokes_.clear();
    shown_.reset();
    outline_ = false;
    redraw();
}

void SquareBox::line(double x1, double y1, double x2, double y2, Color colour, int width,
                     bool goesOn) {
    const Stroke piece{x1, y1, x2, y2, colour, width, false};
    draw(piece);
    overlayOver(piece);
    // A line drawn a piece at a time and the same line drawn at once cover
    // the same pixels, so a redraw needs only the whole line.
    if (goesOn && !strokes_.empty() && !strokes_.back().dot) {
        strokes_.back().x2 = x2;
        strokes_.back().y2 = y2;
    } else {
        strokes_.push_back(piece);
    }
}

void SquareBox::dot(double x, double y, Color colour, int width) {
    const Stroke s{x, y, x, y, colour, width, true};
    draw(s);
    overlayOver(s);
    strokes_.push_back(s);
}

void SquareBox::setLetter(int i, const QString& text) {
    if (text_[size_t(i)] == text) return;
    text_[size_t(i)] = text;
    if (shown_[size_t(i)]) redraw();
}

void SquareBox::showLetter(int i, bool on) {
    if (shown_[size_t(i)] == on) return;
    shown_[size_t(i)] = on;
    redraw();
}

QString SquareBox::letterOnView(int i) const {
    const QPointF at(letterPlaces[i].x, letterPlaces[i].y);
    for (const typeset::DrawOp& op : canvas().picture().ops())
        if (op.kind == typeset::DrawOp::Text && QPointF(op.x1, op.y1) == at) return op.text;
    return QString();
}

void SquareBox::draw(const Stroke& s) {
    typeset::RasterCanvas& c = canvas();
    c.DrawWidth = s.width;
    if (s.dot) c.PSet(s.x1, s.y1, s.colour);
    else c.Line(s.x1, s.y1, s.x2, s.y2, s.colour);
}

void SquareBox::overlayOver(const Stroke& s) {
    const double reach = s.width;
    const QRectF stroke = QRectF(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2))
                              .normalized()
                              .adjusted(-reach, -reach, reach, reach);
    const QRect under = outline_ ? shape1 : QRect(line2.p1(), line2.p2());
    if (stroke.intersects(QRectF(under).adjusted(-1, -1, 1, 1))) overlay();
}

void SquareBox::overlay() {
    typeset::RasterCanvas& c = canvas();
    c.DrawWidth = 1;
    // A shape's border lies inside its bounds.
    if (outline_) c.Box(shape1.left(), shape1.top(), shape1.right(), shape1.bottom(), black, false);
    for (const QLine& l : {line2, line4}) c.Line(l.x1(), l.y1(), l.x2(), l.y2(), black);
}

void SquareBox::redraw() {
    typeset::RasterCanvas& c = canvas();
    c.Cls();
    // The square is a figure that says which letters it shows, row by row.
    typeset::Construct figure(c, typeset::Group::Figure);
    QStringList rows;
    for (const auto& [top, bottom, name] : {std::tuple{0, 50, "上"}, {50, 250, "中"}, {250, 400, "下"}}) {
        QStringList row;
        for (int i : readingOrder)
            if (shown_[size_t(i)] && letterPlaces[i].y >= top && letterPlaces[i].y < bottom) row << text_[size_t(i)];
        if (!row.isEmpty()) rows << QString::fromUtf8(name) + QLatin1Char(' ') + row.join(QLatin1Char(' '));
    }
    c.describe(QStringLiteral("図：熱力学の魔方陣。") +
               (rows.isEmpty() ? QStringLiteral("文字はまだない。") : QStringLiteral("文字は ") + rows.join(QStringLiteral("，")) + QStringLiteral("。")));
    for (const Stroke& s : strokes_) draw(s);
    overlay();
    // The letters are variables: at 15.75 points in the face every other
    // variable of the pages is set in, Bookman where the machine has it,
    // else the bold italic Times face.
    const bool bookman = FontExists(face::Bookman);
    c.FontName = bookman ? face::Bookman : face::Times;
    c.FontSize = 15.75f;
    c.FontItalic = true;
    c.FontBold = !bookman;
    c.ForeColor = black;
    for (int i : readingOrder) {
        if (!shown_[size_t(i)]) continue;
        c.CurrentX = float(letterPlaces[i].x);
        c.CurrentY = float(letterPlaces[i].y);
        c.Print(text_[size_t(i)]);
    }
}

}  // namespace chapters
