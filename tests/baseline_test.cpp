// Baselines on the rendered pages of every chapter: letters, digits and Greek
// printed on one line sit on one baseline, scripts are clearly off it, and no
// script or parenthesis runs into a rule or a neighbour. Each piece's ink is
// found by drawing that piece alone, exactly where the page drew it
// (support/page_ink.h, shared with the contact test).
#include "chapter_catalog.h"
#include "context.h"
#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "backends/raster_canvas.h"
#include "state.h"
#include "support/page_ink.h"

#include <QImage>
#include <gtest/gtest.h>
#include <cmath>
#include <optional>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

bool drawnIn(const DrawOp& op, const char* face) { return op.font.face == QString::fromUtf8(face); }

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
std::vector<std::string> pageFaults(const std::vector<DrawOp>& ops) {
    std::vector<std::string> faults;
    auto fault = [&faults](const QString& s) { faults.push_back(s.toStdString()); };
    std::vector<std::optional<Ink>> inks(ops.size());
    auto ink = [&](size_t i) -> const Ink& {
        if (!inks[i]) inks[i] = inkOf(ops[i]);
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
                 pageFaults(c.picture().ops()))
                ADD_FAILURE() << name.toStdString() << " page " << n << ": " << f;
        }
    }
    setEndProgramHandler({});
    resetShellState();
    CurPic = nullptr;
}

}  // namespace
