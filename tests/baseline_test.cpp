// Baselines on the rendered pages of every chapter: letters, digits and Greek
// printed on one line sit on one baseline, scripts are clearly off it, and no
// script or parenthesis runs into a rule or a neighbour. Each piece's ink is
// found by drawing that piece alone, exactly where the page drew it.
#include "chapter_catalog.h"
#include "context.h"
#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "backends/raster_canvas.h"
#include "state.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>
#include <optional>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

bool drawnIn(const DrawOp& op, const char* face) { return op.font.face == QString::fromUtf8(face); }

struct Ink {
    QImage mask;  // grey levels of the piece alone, Format_Grayscale8
    QPoint origin;
    int top = 0, bottom = -1, left = 0, right = -1;  // dark pixels' box; empty when bottom < top
    bool empty() const { return bottom < top; }
    // Whether the piece's pixel at (x, y) is darker than level.
    bool at(int x, int y, int level = kDark) const {
        const QPoint p(x - origin.x(), y - origin.y());
        return mask.rect().contains(p) && mask.constScanLine(p.y())[p.x()] < level;
    }
    static constexpr int kDark = 128;   // ink
    static constexpr int kFaint = 200;  // the grey edge that still reads as ink
};

// Draws one operation alone on a blank canvas the size of the page and keeps
// its grey levels near the operation's box.
class Scratch {
public:
    Scratch(int w, int h) : canvas_(w, h) {}
    Ink ink(const DrawOp& op) {
        canvas_.Cls();
        canvas_.DrawWidth = op.pen.width;
        if (op.kind == DrawOp::Line) {
            canvas_.Line(op.x1, op.y1, op.x2, op.y2, 0);
        } else {
            canvas_.FontName = op.font.face;
            canvas_.FontSize = float(op.font.size);
            canvas_.FontBold = op.font.bold;
            canvas_.FontItalic = op.font.italic;
            canvas_.CurrentX = float(op.x1);
            canvas_.CurrentY = float(op.y1);
            if (op.kind == DrawOp::Glyph)
                canvas_.glyphs(int(op.x1), int(op.y1), op.text.toLatin1(), true, 0, op.which);
            else
                canvas_.Print(op.text);
        }
        const QImage& img = canvas_.image();
        const QRect box = QRect(QPoint(int(std::floor(std::min(op.x1, op.x2))) - 8,
                                       int(std::floor(std::min(op.y1, op.y2))) - 8),
                                QPoint(int(std::ceil(std::max(op.x1, op.x2))) + 8,
                                       int(std::ceil(std::max(op.y1, op.y2))) + 8))
                              .intersected(img.rect());
        Ink r;
        r.origin = box.topLeft();
        r.mask = QImage(box.size(), QImage::Format_Grayscale8);
        r.top = box.bottom() + 1, r.bottom = box.top() - 1;
        r.left = box.right() + 1, r.right = box.left() - 1;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const int g = qGray(img.pixel(x, y));
                r.mask.scanLine(y - box.top())[x - box.left()] = uchar(g);
                if (g < Ink::kDark) {
                    r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y);
                    r.left = std::min(r.left, x), r.right = std::max(r.right, x);
                }
            }
        return r;
    }

private:
    RasterCanvas canvas_;
};

// Characters whose ink ends on the baseline (or above it), by face: no
// descenders, no parentheses, no commas.
bool sitsOnBaseline(const DrawOp& op) {
    if (op.kind != DrawOp::Text || op.angle) return false;
    const bool symbolFace = drawnIn(op, "Symbol");
    const QString latinDescenders = symbolFace ? QStringLiteral("bgzhmxrfjcy")
                                               : QStringLiteral("gjpqyfQ");
    const QString greekOnBaseline = QStringLiteral("αδειθκλνοπστυωΓΔΘΛΞΠΣΥΩ");
    bool letter = false;
    for (QChar ch : op.text) {
        if (ch.isDigit() && ch.unicode() < 128) letter = true;
        else if (ch.unicode() < 128 && ch.isLetter() && !latinDescenders.contains(ch)) letter = true;
        else if (greekOnBaseline.contains(ch)) letter = true;
        else if (!QStringLiteral(" .=+-×").contains(ch)) return false;
    }
    return letter;
}

// The size a piece's own printer was called with: variables are enlarged by
// 1.15, the upright face by 1.2, a Greek letter of the Gothic face is set one
// point up (bold) to match the weight of the text beside it.
double nominalSize(const DrawOp& op) {
    if (op.font.bold && drawnIn(op, "ＭＳ ゴシック")) return op.font.size - 1;
    if (op.font.italic && (drawnIn(op, "Times New Roman") || drawnIn(op, "Century")))
        return op.font.size / 1.15;
    if (drawnIn(op, "Courier New")) return op.font.size / 1.2;
    if (drawnIn(op, "Symbol") && op.text == "p" && !op.font.italic) return op.font.size / 1.2;  // π
    return op.font.size;
}

bool isRule(const DrawOp& op) {
    if (op.kind == DrawOp::Line) return op.y1 == op.y2 && std::fabs(op.x2 - op.x1) >= 5;
    if (op.kind != DrawOp::Text || op.text.trimmed().isEmpty()) return false;
    for (QChar ch : op.text.trimmed())
        if (ch != QChar(0x2500) && ch != QChar(0x2015)) return false;
    return true;
}

// Tall parenthesis halves of the Symbol face, and plain parentheses.
bool isParen(const DrawOp& op) {
    if (op.kind == DrawOp::Glyph)
        return op.text.size() == 1 && QList<ushort>{230, 232, 246, 248}.contains(op.text[0].unicode());
    return op.kind == DrawOp::Text && (op.text == "(" || op.text == ")");
}

// Whether two inks touch: a dark pixel of one next to a pixel of the other
// that is dark or a visible grey edge (two strokes joined by grey read as one).
bool touches(const Ink& a, const Ink& b) {
    if (a.empty() || b.empty() || a.right + 2 < b.left || b.right + 2 < a.left ||
        a.bottom + 2 < b.top || b.bottom + 2 < a.top)
        return false;
    const auto reaches = [](const Ink& dark, const Ink& other) {
        for (int y = dark.top; y <= dark.bottom; ++y)
            for (int x = dark.left; x <= dark.right; ++x)
                if (dark.at(x, y))
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            if (other.at(x + dx, y + dy, Ink::kFaint)) return true;
        return false;
    };
    return reaches(a, b) || reaches(b, a);
}

struct Finding {
    QString where;
    std::vector<std::string> faults;
};

QString describe(const DrawOp& op) {
    return QStringLiteral("\"%1\" (%2 %3pt at %4,%5)")
        .arg(op.text.size() == 1 && op.text[0].unicode() >= 128 && op.kind == DrawOp::Glyph
                 ? QStringLiteral("#%1").arg(op.text[0].unicode())
                 : op.text)
        .arg(op.font.face)
        .arg(op.font.size, 0, 'f', 1)
        .arg(op.x1, 0, 'f', 1)
        .arg(op.y1, 0, 'f', 1);
}

// All faults of one page's operations.
std::vector<std::string> pageFaults(const std::vector<DrawOp>& ops, int w, int h) {
    std::vector<std::string> faults;
    auto fault = [&faults](const QString& s) { faults.push_back(s.toStdString()); };
    Scratch scratch(w, h);
    std::vector<std::optional<Ink>> inks(ops.size());
    auto ink = [&](size_t i) -> const Ink& {
        if (!inks[i]) inks[i] = scratch.ink(ops[i]);
        return *inks[i];
    };

    // Neighbours on a line, in the order the pen set them.
    std::optional<size_t> prev;
    for (size_t i = 0; i < ops.size(); ++i) {
        if (!sitsOnBaseline(ops[i])) continue;
        if (prev) {
            const DrawOp& a = ops[*prev];
            const DrawOp& b = ops[i];
            const double gap = b.x1 - a.x2;
            const bool sameRow = std::fabs(b.y1 - a.y1) < 0.6 * std::max(a.y2 - a.y1, b.y2 - b.y1);
            if (gap > -4 && gap < 20 && sameRow && !ink(*prev).empty() && !ink(i).empty()) {
                const int delta = ink(i).bottom - ink(*prev).bottom;  // > 0: b lower
                const double ratio = nominalSize(b) / nominalSize(a);
                const QString pair = describe(a) + " then " + describe(b);
                if (ratio > 0.95 && ratio < 1 / 0.95) {
                    if (std::abs(delta) < 6 && std::abs(delta) > 1)
                        fault(QStringLiteral("baselines %1 px apart: %2").arg(delta).arg(pair));
                } else if (ratio < 0.89 || ratio > 1 / 0.89) {
                    // The smaller piece is the script; where its cell lies
                    // against the base's tells which kind it was meant to be.
                    const bool bSmall = ratio < 1;
                    const DrawOp& script = bSmall ? b : a;
                    const DrawOp& base = bSmall ? a : b;
                    const int drop = bSmall ? delta : -delta;  // script's baseline below base's
                    const bool sup = script.y1 + script.y2 < base.y1 + base.y2;
                    if (sup && drop > -2)
                        fault(QStringLiteral("superscript raised %1 px: %2").arg(-drop).arg(pair));
                    if (!sup && drop < 2)
                        fault(QStringLiteral("subscript lowered %1 px: %2").arg(drop).arg(pair));
                }
            }
        }
        prev = i;
    }

    // Rules and parentheses against everything printed near them.
    for (size_t r = 0; r < ops.size(); ++r) {
        const bool rule = isRule(ops[r]), paren = isParen(ops[r]);
        if (!rule && !paren) continue;
        for (size_t i = 0; i < ops.size(); ++i) {
            if (i == r || (ops[i].kind != DrawOp::Text && ops[i].kind != DrawOp::Glyph)) continue;
            // Turned text is drawn upright here, so its ink would be wrong.
            if (ops[i].angle || ops[r].angle) continue;
            if (isRule(ops[i]) || (paren && isParen(ops[i]))) continue;
            // Against rules only scripts count (smaller than a 0.9 fraction):
            // radical bars and signs are meant to meet.
            if (rule && (nominalSize(ops[i]) >= 11.5 || !sitsOnBaseline(ops[i]))) continue;
            if (ops[i].x2 < std::min(ops[r].x1, ops[r].x2) - 10 ||
                ops[i].x1 > std::max(ops[r].x1, ops[r].x2) + 10 ||
                ops[i].y2 < std::min(ops[r].y1, ops[r].y2) - 10 ||
                ops[i].y1 > std::max(ops[r].y1, ops[r].y2) + 10)
                continue;
            if (touches(ink(r), ink(i)))
                fault(QStringLiteral("%1 touches %2")
                          .arg(describe(ops[i]), rule ? QStringLiteral("a rule") : describe(ops[r])));
        }
    }
    return faults;
}

TEST(Baselines, EveryPageOfEveryChapterKeepsItsLines) {
    resetContext();
    resetShellState();
    setEndProgramHandler([] {});
    installFaceSubstitutions();
    SkipWait = 1;
    for (const QString& name : chapterNames()) {
        // The specimen is a sheet of the library's pieces at test positions,
        // not a page of the course.
        if (name == QLatin1String("specimen")) continue;
        auto chapter = makeChapter(name);
        ASSERT_TRUE(chapter) << name.toStdString();
        Form1 window(*chapter);
        window.Form_Load();
        for (int n = 0; n <= window.lastPage(); ++n) {
            window.ShowThisPic(n);
            const Canvas& c = window.pic(n).canvas();
            for (const std::string& f :
                 pageFaults(c.picture().ops(), c.pixelWidth(), c.pixelHeight()))
                ADD_FAILURE() << name.toStdString() << " page " << n << ": " << f;
        }
    }
    setEndProgramHandler({});
    resetShellState();
    CurPic = nullptr;
}

}  // namespace
