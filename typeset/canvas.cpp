#include "canvas.h"

#include "faces.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace typeset {

namespace {

// The Unicode text an operation shows, from the face its codes are read in.
QString meaningOf(const QString& face, const QString& text, bool codes) {
    const FaceInfo::Encoding enc = faceInfo(face).encoding;
    if (enc == FaceInfo::Text && !codes) return text;
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) bytes.append(char(ch.unicode() & 0xFF));
    return unicodeOfBytes(bytes, enc);
}

// The text operations of a picture within region, moved by (dx, dy), copies'
// copied text included: what a copy of that region shows as text.
void copyTextWithin(const std::vector<DrawOp>& from, const QRectF& region, double dx, double dy,
                    std::vector<DrawOp>& to) {
    for (const DrawOp& op : from) {
        if (op.kind == DrawOp::Copy && op.copied) {
            copyTextWithin(op.copied->text, region, dx, dy, to);
            continue;
        }
        if (op.kind != DrawOp::Text && op.kind != DrawOp::Glyph) continue;
        if (!region.intersects(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized()))
            continue;
        DrawOp moved = op;
        moved.x1 += dx, moved.x2 += dx, moved.y1 += dy, moved.y2 += dy;
        to.push_back(std::move(moved));
    }
}

// Where an operation can leave ink: its cell, ends, corners or extent.
QRectF reach(const DrawOp& op) {
    const double pad = 2.0 + std::max<int>(op.pen.width, 1);
    switch (op.kind) {
    case DrawOp::Circle:
        return QRectF(op.x1 - op.rx - pad, op.y1 - op.ry - pad, 2 * (op.rx + pad), 2 * (op.ry + pad));
    case DrawOp::Point: return QRectF(op.x1 - pad, op.y1 - pad, 2 * pad, 2 * pad);
    default:
        return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized().adjusted(-pad, -pad, pad, pad);
    }
}

// The operations of a picture that can show within region, moved by
// (dx, dy); false (and nothing) where one is a copy, whose pixels only it
// holds.
bool copyDrawingWithin(const std::vector<DrawOp>& from, const QRectF& region, double dx, double dy,
                       std::vector<DrawOp>& to) {
    for (const DrawOp& op : from) {
        if (op.kind != DrawOp::Clear && !region.intersects(reach(op))) continue;
        if (op.kind == DrawOp::Copy) {
            to.clear();
            return false;
        }
        DrawOp moved = op;
        if (op.kind != DrawOp::Clear) moved.x1 += dx, moved.x2 += dx, moved.y1 += dy, moved.y2 += dy;
        to.push_back(std::move(moved));
    }
    return true;
}

}  // namespace

void Canvas::draw(DrawOp&& op) {
    if (signDepth_ > 0 && (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph))
        op.meaning = std::exchange(signMeaning_, QString());
    if (holding_) {
        if (op.kind == DrawOp::Clear) heldGroups_ = 0;  // a clearing starts the groups afresh
        held_.push_back({Held::Op, std::move(op)});
        return;
    }
    commit(std::move(op));
}

void Canvas::commit(DrawOp&& op) {
    paint(op);
    if (!keepsPicture_) return;
    picture_.setSize(QSize(pixelWidth(), pixelHeight()));
    picture_.add(std::move(op));
}

void Canvas::beginSign(const QString& meaning) {
    if (signDepth_++ == 0) signMeaning_ = meaning;
}

void Canvas::endSign() {
    if (signDepth_ > 0 && --signDepth_ == 0) signMeaning_.clear();
}

bool Canvas::beginGroup(Group::Kind kind) {
    if (!keepsPicture_) return false;
    if (holding_) {
        held_.push_back({Held::Open, {}, kind});
        ++heldGroups_;
    } else {
        picture_.openGroup(kind);
    }
    return true;
}

bool Canvas::beginGroupIn(Group::Kind kind, int parent) {
    if (!keepsPicture_) return false;
    if (holding_) {
        held_.push_back({Held::OpenIn, {}, kind, parent});
        ++heldGroups_;
    } else {
        picture_.openGroupIn(kind, parent);
    }
    return true;
}

int Canvas::newestGroup() const {
    if (!keepsPicture_) return -1;
    return holding_ ? heldGroups_ - 1 : int(picture_.groups().size()) - 1;
}

void Canvas::adopt(int group, int parent) {
    if (!keepsPicture_) return;
    if (holding_) held_.push_back({Held::Adopt, {}, Group::Row, group, parent});
    else picture_.adopt(group, parent);
}

void Canvas::endGroup() {
    if (holding_) held_.push_back({Held::Close});
    else picture_.closeGroup();
}

void Canvas::describe(const QString& text) {
    if (!keepsPicture_) return;
    if (holding_) held_.push_back({Held::Describe, {}, Group::Row, -1, -1, text});
    else picture_.describe(text);
}

void Canvas::hold() {
    if (holding_ || !keepsPicture_) return;
    holding_ = true;
    heldGroups_ = int(picture_.groups().size());
}

void Canvas::apply(Held&& h) {
    switch (h.kind) {
    case Held::Op: commit(std::move(h.op)); break;
    case Held::Open: picture_.openGroup(h.group); break;
    case Held::OpenIn: picture_.openGroupIn(h.group, h.a); break;
    case Held::Adopt: picture_.adopt(h.a, h.b); break;
    case Held::Close: picture_.closeGroup(); break;
    case Held::Describe: picture_.describe(h.text); break;
    }
}

void Canvas::showHeld(uint64_t position) {
    const bool holding = std::exchange(holding_, false);
    while (shownPosition_ < position && heldNext_ < held_.size()) {
        ++shownPosition_;
        apply(std::move(held_[heldNext_++]));
    }
    // All shown: the room stays for what is held next.
    if (heldNext_ == held_.size()) {
        held_.clear();
        heldNext_ = 0;
    }
    holding_ = holding;
}

void Canvas::release() {
    showHeld(heldPosition());
    holding_ = false;
    held_ = {};
}

void Canvas::drawAhead(Canvas& target, uint64_t position) const {
    target.replay(picture_);
    uint64_t at = shownPosition_;
    for (size_t i = heldNext_; i < held_.size(); ++i) {
        const Held& h = held_[i];
        if (at++ >= position) break;
        if (h.kind == Held::Op) target.draw(DrawOp(h.op));
    }
}

void Canvas::dropHeld() {
    shownPosition_ += held_.size() - heldNext_;
    // The room stays: the page is about to be drawn afresh.
    held_.clear();
    heldNext_ = 0;
    holding_ = false;
}

double Canvas::TextWidth(const QString& s) { return lenX(measureWidthPx(font(), s)); }

double Canvas::TextHeight(const QString& s) { return lenY(measureHeightPx(font(), s)); }

void Canvas::Print(const QString& s) {
    const Font f = font();
    const double w = measureWidthPx(f, s);
    if (!s.isEmpty()) {
        const double x = toPxX(CurrentX), y = toPxY(CurrentY);
        const double h = measureHeightPx(f, s);
        if (!FontTransparent) {
            DrawOp cell;
            cell.kind = DrawOp::FilledRect;
            cell.x1 = x, cell.y1 = y, cell.x2 = x + w, cell.y2 = y + h;
            cell.pen = pen(BackColor);
            draw(std::move(cell));
        }
        DrawOp op;
        op.kind = DrawOp::Text;
        op.x1 = x, op.y1 = y, op.x2 = x + w, op.y2 = y + h;
        op.pen = pen(ForeColor);
        op.font = f;
        op.text = s;
        op.meaning = meaningOf(f.face, s, false);
        draw(std::move(op));
    }
    CurrentX = float(CurrentX + lenX(w));
}

Canvas::Font Canvas::glyphFontSpec(GlyphFont which) const {
    // A font made with a default height gets the device's default cell,
    // 12 points.
    switch (which) {
    case GlyphFont::DeviceDefault: return {QStringLiteral("Arial"), 12, false, false};
    case GlyphFont::FaceAtDefaultHeight: return {FontName, 12, false, false};
    case GlyphFont::Current: break;
    }
    return font();
}

QSize Canvas::glyphs(int x, int y, const QByteArray& bytes, bool draw, int angle,
                     GlyphFont which) {
    const Font f = glyphFontSpec(which);
    const QSize size = glyphExtentPx(f, bytes, which);
    if (draw && !bytes.isEmpty()) {
        DrawOp op;
        op.kind = DrawOp::Glyph;
        op.x1 = x, op.y1 = y, op.x2 = x + size.width(), op.y2 = y + size.height();
        op.pen = pen(ForeColor);
        op.font = f;
        op.which = which;
        op.angle = int16_t(angle);
        op.text = QString::fromLatin1(bytes);
        op.meaning = meaningOf(f.face, op.text, true);
        this->draw(std::move(op));
    }
    return size;
}

void Canvas::printRotated(const QString& s, int angle) {
    const Font f = font();
    const double w = measureWidthPx(f, s);
    if (!s.isEmpty()) {
        const double x = toPxX(CurrentX), y = toPxY(CurrentY);
        DrawOp op;
        op.kind = DrawOp::Text;
        op.x1 = x, op.y1 = y, op.x2 = x + w, op.y2 = y + measureHeightPx(f, s);
        op.pen = pen(ForeColor);
        op.font = f;
        op.angle = int16_t(angle);
        op.text = s;
        op.meaning = meaningOf(f.face, s, false);
        draw(std::move(op));
    }
    CurrentX = float(CurrentX + lenX(w));
}

void Canvas::Line(double x1, double y1, double x2, double y2, Color c) {
    DrawOp op;
    op.kind = DrawOp::Line;
    op.x1 = toPxX(x1), op.y1 = toPxY(y1), op.x2 = toPxX(x2), op.y2 = toPxY(y2);
    op.pen = pen(c);
    draw(std::move(op));
    CurrentX = float(x2);
    CurrentY = float(y2);
}

void Canvas::Box(double x1, double y1, double x2, double y2, Color c, bool filled) {
    DrawOp op;
    op.kind = filled ? DrawOp::FilledRect : DrawOp::Rect;
    op.x1 = toPxX(x1), op.y1 = toPxY(y1), op.x2 = toPxX(x2), op.y2 = toPxY(y2);
    op.pen = pen(c);
    draw(std::move(op));
    CurrentX = float(x2);
    CurrentY = float(y2);
}

void Canvas::Circle(double cx, double cy, double r, Color c, double start, double end,
                    double aspect) {
    // The radius is measured along the longer axis, as the pages' runtime does.
    double rx = std::fabs(r * sx_), ry = std::fabs(r * sx_);
    if (aspect > 1.0) {
        ry = std::fabs(r * sx_);
        rx = ry / aspect;
    } else {
        ry = rx * aspect;
    }
    DrawOp op;
    op.kind = DrawOp::Circle;
    op.x1 = toPxX(cx), op.y1 = toPxY(cy);
    op.rx = rx, op.ry = ry, op.start = start, op.end = end;
    op.pen = pen(c);
    draw(std::move(op));
    CurrentX = float(cx);
    CurrentY = float(cy);
}

void Canvas::PSet(double x, double y, Color c) {
    DrawOp op;
    op.kind = DrawOp::Point;
    op.x1 = toPxX(x), op.y1 = toPxY(y);
    op.pen = pen(c);
    draw(std::move(op));
    CurrentX = float(x);
    CurrentY = float(y);
}

void Canvas::Cls() {
    DrawOp op;
    op.kind = DrawOp::Clear;
    op.x2 = pixelWidth(), op.y2 = pixelHeight();
    op.pen = pen(BackColor);
    draw(std::move(op));
    CurrentX = float(scaleLeft_);
    CurrentY = float(scaleTop_);
}

void Canvas::Scale(double x1, double y1, double x2, double y2) {
    // A scale without extent would map every point to infinity; the one in
    // force stays.
    if (!(x2 != x1) || !(y2 != y1) || !std::isfinite(x1) || !std::isfinite(x2) ||
        !std::isfinite(y1) || !std::isfinite(y2))
        return;
    scaleLeft_ = x1;
    scaleTop_ = y1;
    sx_ = pixelWidth() / (x2 - x1);
    sy_ = pixelHeight() / (y2 - y1);
}

void Canvas::scaleReset() {
    scaleLeft_ = scaleTop_ = 0;
    sx_ = sy_ = 1;
}

void Canvas::copyFrom(const Canvas& src, int dx, int dy, int w, int h, int sx, int sy) {
    DrawOp op;
    QImage pixels = src.pixelsOf(QRect(sx, sy, w, h));
    if (pixels.isNull()) return;
    auto copied = std::make_shared<Copied>(Copied{std::move(pixels), {}, {}, {}});
    copyTextWithin(src.picture().ops(), QRectF(sx, sy, w, h), dx - sx, dy - sy, copied->text);
    if (src.keepsPicture_ && !src.picture().empty())
        copyDrawingWithin(src.picture().ops(), QRectF(sx, sy, w, h), dx - sx, dy - sy, copied->drawing);
    const std::vector<Group>& groups = src.picture().groups();
    for (size_t g = 0; g < groups.size() && copied->description.isEmpty(); ++g)
        if (groups[g].kind == Group::Figure) copied->description = src.picture().description(g);
    op.copied = std::move(copied);
    op.kind = DrawOp::Copy;
    op.x1 = dx, op.y1 = dy, op.x2 = dx + w, op.y2 = dy + h;
    draw(std::move(op));
}

void Canvas::replay(const Picture& picture, size_t from) {
    const std::vector<DrawOp>& ops = picture.ops();
    for (size_t i = from; i < ops.size(); ++i) draw(DrawOp(ops[i]));
    if (keepsPicture_) picture_.appendGroups(picture, from);
}

}  // namespace typeset
