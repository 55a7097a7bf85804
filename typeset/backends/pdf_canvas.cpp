#include "backends/pdf_canvas.h"

#include "color.h"
#include "faces.h"
#include "font_cache.h"
#include "linear_text.h"
#include "page_text.h"
#include "picture.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <cairo-ft.h>
#include <cairo.h>
#include <harfbuzz/hb-subset.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace typeset {

namespace {

// pieceOf_ for a part whose construct's piece reads it.
constexpr int32_t kReadElsewhere = -2;

// As on the painter canvas: aliased lines cover the pixels right of and
// below the mathematical line, and faces without an italic lean 12 degrees.
constexpr double kAliasedShift = 0.5;
constexpr double kSyntheticSlant = 0.2126;


FT_Library freetype() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) l = nullptr;
        return l;
    }();
    return lib;
}

QByteArray sfntTable(FT_Face face, FT_ULong tag) {
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0) return {};
    QByteArray bytes(qsizetype(length), '\0');
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte*>(bytes.data()), &length) != 0)
        return {};
    return bytes;
}

// The font file Qt draws a raw font from: of the files the font system
// lists for its family, the one with the same tables ('head' tells files
// apart, 'name' the faces of one collection); a face without such tables (a
// Type 1 file) by its style. Also gives the file's path and the face's index
// in it.
FT_Face openFaceOf(const QRawFont& raw, QByteArray* path = nullptr, int* faceIndex = nullptr) {
    if (!freetype()) return nullptr;
    const QByteArray head = raw.fontTable("head"), name = raw.fontTable("name");
    // Qt names a family two foundries provide with the foundry after it,
    // "Standard Symbols PS [URW ]".
    QString family = raw.familyName();
    if (const qsizetype k = family.lastIndexOf(QStringLiteral(" [")); k > 0 && family.endsWith(u']'))
        family.truncate(k);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
    FcFontSet* files = FcFontList(nullptr, pattern, objects);
    FT_Face found = nullptr;
    for (int i = 0; files && i < files->nfont && !found; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(files->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(files->fonts[i], FC_INDEX, 0, &index);
        FT_Face face = nullptr;
        if (FT_New_Face(freetype(), reinterpret_cast<const char*>(file), index, &face) != 0) continue;
        const bool same =
            head.isEmpty()
                ? !FT_IS_SFNT(face) && face->style_name &&
                      raw.styleName() == QString::fromUtf8(face->style_name)
                : sfntTable(face, TTAG_head) == head && sfntTable(face, TTAG_name) == name;
        if (same) {
            found = face;
            if (path) *path = reinterpret_cast<const char*>(file);
            if (faceIndex) *faceIndex = index;
        } else {
            FT_Done_Face(face);
        }
    }
    if (files) FcFontSetDestroy(files);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

// Which font file a raw font is drawn from.
QByteArray fontKey(const QRawFont& raw) {
    return raw.familyName().toUtf8() + '\n' + raw.styleName().toUtf8() + '\n' +
           raw.fontTable("head").toHex();
}

// A face of cairo's on a face of FreeType's, which it then owns together
// with `owned` (released after the face); null if cairo refuses it.
cairo_font_face_t* cairoFaceOn(FT_Face ft, hb_blob_t* owned = nullptr) {
    // Unhinted outlines: the glyphs as designed, at the positions Qt gives.
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ft, FT_LOAD_NO_HINTING);
    struct Owned {
        FT_Face ft;
        hb_blob_t* blob;
    };
    static const cairo_user_data_key_t owner{};
    auto* held = new Owned{ft, owned};
    if (cairo_font_face_set_user_data(face, &owner, held, [](void* p) {
            auto* o = static_cast<Owned*>(p);
            FT_Done_Face(o->ft);
            hb_blob_destroy(o->blob);
            delete o;
        }) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        FT_Done_Face(ft);
        hb_blob_destroy(owned);
        delete held;
        return nullptr;
    }
    return face;
}

// The face of a font file cut down to the glyphs a document uses, the
// glyphs keeping their numbers (Qt's layout gave them) and their outlines.
// Only compact-font-format faces are cut: the writer's own subset of one
// keeps every subroutine the whole font shares, most of a CJK font's size,
// where a subset without subroutines holds just the glyphs used. Null when
// the file cannot be cut.
cairo_font_face_t* subsetFace(const QByteArray& path, int index, const PdfTextLayer::Used& used) {
    hb_blob_t* file = hb_blob_create_from_file_or_fail(path.constData());
    if (!file) return nullptr;
    hb_face_t* whole = hb_face_create(file, unsigned(index));
    hb_blob_destroy(file);
    hb_blob_t* cff = hb_face_reference_table(whole, HB_TAG('C', 'F', 'F', ' '));
    const bool compact = hb_blob_get_length(cff) > 0;
    hb_blob_destroy(cff);
    hb_face_t* cut = nullptr;
    if (compact) {
        if (hb_subset_input_t* input = hb_subset_input_create_or_fail()) {
            hb_set_t* glyphs = hb_subset_input_glyph_set(input);
            for (quint32 g : used.glyphs) hb_set_add(glyphs, g);
            // The characters keep the font's map for them, which the writer
            // reads for glyphs given no text of their own.
            hb_set_t* chars = hb_subset_input_unicode_set(input);
            for (char32_t c : used.chars) hb_set_add(chars, c);
            hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_DESUBROUTINIZE);
            cut = hb_subset_or_fail(whole, input);
            hb_subset_input_destroy(input);
        }
    }
    hb_face_destroy(whole);
    if (!cut) return nullptr;
    hb_blob_t* bytes = hb_face_reference_blob(cut);
    hb_face_destroy(cut);
    unsigned length = 0;
    const char* data = hb_blob_get_data(bytes, &length);
    FT_Face ft = nullptr;
    if (length == 0 || FT_New_Memory_Face(freetype(), reinterpret_cast<const FT_Byte*>(data),
                                          FT_Long(length), 0, &ft) != 0) {
        hb_blob_destroy(bytes);
        return nullptr;
    }
    return cairoFaceOn(ft, bytes);
}

// The PDF writer's face for a raw font: for a font the document noted, one
// cut to what it uses, made once per document; else one made once per font
// file and kept for the run (null when its file cannot be found).
cairo_font_face_t* cairoFace(const QRawFont& raw, PdfTextLayer& layer) {
    const QByteArray key = fontKey(raw);
    auto noted = layer.fonts.find(key);
    if (noted != layer.fonts.end()) {
        if (!noted->tried) {
            noted->tried = true;
            QByteArray path;
            int index = 0;
            if (FT_Face ft = openFaceOf(raw, &path, &index)) {
                FT_Done_Face(ft);
                noted->face = subsetFace(path, index, *noted);
            }
        }
        if (noted->face) return noted->face;
    }
    static QHash<QByteArray, cairo_font_face_t*> faces;
    auto it = faces.constFind(key);
    if (it != faces.constEnd()) return *it;
    FT_Face ft = openFaceOf(raw);
    cairo_font_face_t* face = ft ? cairoFaceOn(ft) : nullptr;
    faces.insert(key, face);
    return face;
}

void setColor(cairo_t* cr, Color c) {
    const QColor q = toQColor(c);
    cairo_set_source_rgb(cr, q.redF(), q.greenF(), q.blueF());
}

// A pen as the painter canvas makes it (painting::linePen and its kin):
// Qt's dash patterns, in pen widths.
void setPen(cairo_t* cr, const QPen& pen) {
    const double w = pen.widthF() > 0 ? pen.widthF() : 1.0;
    cairo_set_line_width(cr, w);
    switch (pen.capStyle()) {
    case Qt::RoundCap: cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND); break;
    case Qt::FlatCap: cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT); break;
    default: cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE); break;
    }
    switch (pen.joinStyle()) {
    case Qt::MiterJoin: cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER); break;
    case Qt::RoundJoin: cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND); break;
    default: cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL); break;
    }
    std::vector<double> dashes;
    if (pen.style() != Qt::SolidLine)
        for (qreal d : pen.dashPattern()) dashes.push_back(d * w);
    cairo_set_dash(cr, dashes.data(), int(dashes.size()), 0);
    const QColor c = pen.color();
    cairo_set_source_rgb(cr, c.redF(), c.greenF(), c.blueF());
}

bool strokes(const QPen& pen) { return pen.style() != Qt::NoPen; }

// One run of glyphs in one font, at positions from the text's baseline origin.
struct Run {
    QRawFont font;
    std::vector<cairo_glyph_t> glyphs;
};

// The glyphs Qt draws for a text: a face of double-byte cells sets each
// character at the start of its cell, others set the text as one.
std::vector<Run> layOut(const ResolvedFont& rf, const QFont& font, const QString& shown) {
    std::vector<std::pair<QString, double>> pieces;
    if (rf.face.doubleByteCells) {
        double x = 0;
        for (QChar ch : shown) {
            pieces.emplace_back(QString(ch), x);
            x += rf.cell(ch);
        }
    } else {
        pieces.emplace_back(shown, 0.0);
    }
    std::vector<Run> runs;
    for (const auto& [piece, x0] : pieces) {
        // Laid out where it was measured: Qt's glyphs and advances there are
        // the ones the raster canvas and the printer draw.
        QTextLayout layout(piece, font, measureDevice());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        if (!line.isValid()) continue;
        const double baseline = line.y() + line.ascent();
        for (const QGlyphRun& r : layout.glyphRuns()) {
            const QList<quint32> indexes = r.glyphIndexes();
            const QList<QPointF> positions = r.positions();
            Run run{r.rawFont(), {}};
            for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
                run.glyphs.push_back({indexes[i], positions[i].x() + x0, positions[i].y() - baseline});
            if (!run.glyphs.empty()) runs.push_back(std::move(run));
        }
    }
    return runs;
}

// Outlines for a font the PDF writer has no file of: the page still looks
// right, though that text cannot be found.
void fillOutlines(cairo_t* cr, const Run& run) {
    for (const cairo_glyph_t& g : run.glyphs) {
        const QPainterPath path = run.font.pathForGlyph(quint32(g.index)).translated(g.x, g.y);
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                cairo_move_to(cr, e.x, e.y);
            } else if (e.isLineTo()) {
                cairo_line_to(cr, e.x, e.y);
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
                cairo_curve_to(cr, e.x, e.y, c2.x, c2.y, end.x, end.y);
                i += 2;
            }
        }
        cairo_set_fill_rule(cr, path.fillRule() == Qt::WindingFill ? CAIRO_FILL_RULE_WINDING
                                                                     : CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
    }
}

// The glyphs of a shown text; with a synthetic slant, of the upright face
// the slant then shears.
std::vector<Run> glyphsOf(const ResolvedFont& rf, const QString& shown, bool* slanted = nullptr) {
    QFont font = rf.font;
    const bool slant = rf.font.italic() && !QFontInfo(rf.font).italic();
    if (slant) font.setItalic(false);
    if (slanted) *slanted = slant;
    return layOut(rf, font, shown);
}

// The Unicode bracket, brace or integral piece a Symbol code draws, or 0.
char32_t bracketPiece(QChar code) {
    if (code.unicode() > 0xFF) return 0;
    const char32_t u = symbolChar(uchar(code.unicode()));
    return (u >= 0x239B && u <= 0x23AE) || u == 0x2320 || u == 0x2321 ? u : 0;
}

}  // namespace

PdfTextLayer::~PdfTextLayer() {
    for (const Used& used : std::as_const(fonts))
        if (used.face) cairo_font_face_destroy(used.face);
}

void PdfTextLayer::noteGlyphs(const Picture& picture) {
    const auto note = [this](const DrawOp& op) {
        if (op.kind != DrawOp::Text && op.kind != DrawOp::Glyph) return;
        const painting::ShownText t = painting::shownText(op);
        if (t.shown.isEmpty()) return;
        const QList<uint> chars = t.shown.toUcs4();
        for (const Run& run : glyphsOf(t.font, t.shown)) {
            Used& used = fonts[fontKey(run.font)];
            for (const cairo_glyph_t& g : run.glyphs) used.glyphs.insert(quint32(g.index));
            for (uint c : chars) used.chars.insert(char32_t(c));
        }
    };
    for (const DrawOp& op : picture.ops()) {
        note(op);
        if (op.kind == DrawOp::Copy && op.copied) {
            for (const DrawOp& t : op.copied->text) note(t);
            for (const DrawOp& t : op.copied->drawing) note(t);
        }
    }
}

void PdfCanvas::drawPicture(const Picture& picture) {
    const std::vector<DrawOp>& ops = picture.ops();
    pieces_.clear();
    appendLinearPieces(pieces_, picture);
    // The same pieces spoken, for the spans' alternative texts.
    std::vector<TextPiece> spoken;
    appendLinearPieces(spoken, picture, QPointF(), 0, true);
    // Spoken, a described figure is its description alone: match pieces by
    // the operations they read, not by their place in the list.
    QHash<QPair<uint32_t, uint32_t>, QString> heard;
    for (const TextPiece& t : spoken) heard.insert({t.firstOp, t.lastOp}, words(t.text));
    spoken_.assign(pieces_.size(), QString());
    for (size_t p = 0; p < pieces_.size(); ++p) spoken_[p] = heard.value({pieces_[p].firstOp, pieces_[p].lastOp});
    picture_ = &picture;
    pieceOf_.assign(ops.size(), -1);
    // A part drawn apart from its construct reads in the construct's span:
    // its own glyphs carry no text.
    const std::vector<bool> apart = readWithTheirConstruct(picture);
    for (size_t i = 0; i < ops.size(); ++i)
        if (apart[i]) pieceOf_[i] = kReadElsewhere;
    for (size_t p = 0; p < pieces_.size(); ++p)
        for (size_t i = pieces_[p].firstOp; i < pieces_[p].lastOp && i < ops.size(); ++i)
            if (ops[i].kind != DrawOp::Copy) pieceOf_[i] = int32_t(p);
    tablePlaceOf_.assign(ops.size(), TablePlace());
    const std::vector<Group>& groups = picture.groups();
    for (size_t g = 0; g < groups.size(); ++g) {
        if (!placesOnly(groups[g].kind)) continue;
        for (size_t i = groups[g].first; i < groups[g].last && i < ops.size(); ++i)
            (groups[g].kind == Group::TableRow ? tablePlaceOf_[i].row : tablePlaceOf_[i].cell) = int(g + 1);
    }
    piece_ = -1;
    // As Canvas::replay draws, operation by operation.
    for (at_ = 0; at_ < ops.size(); ++at_) paint(ops[at_]);
    at_ = size_t(-1);
    pieceOf_.clear();
    tablePlaceOf_.clear();
    tablePlace_ = {};
    pieces_.clear();
    picture_ = nullptr;
}

PdfCanvas::PdfCanvas(_cairo* cr, int w, int h, PdfTextLayer& layer)
    : cr_(cr), w_(w), h_(h), layer_(layer) {
    if (layer_.spans.empty()) layer_.newSheet();
}

PdfCanvas::~PdfCanvas() { finish(); }

void PdfCanvas::finish() {
    if (!span_) return;
    cairo_tag_end(cr_, "Span");
    span_.reset();
}

void PdfCanvas::joinSpan(const QRectF& cell, const QString& meaning, const QString& spoken, bool formula,
                         int figure) {
    // A piece drawn further along the span's line continues it; anything
    // else (another line, a step back, another figure) starts a span of its
    // own.
    if (newLinePart_ || !span_ || !span_->holds(cell) || cell.left() < spanLeft_ ||
        layer_.about.back().back().figure != figure || layer_.about.back().back().cell != tablePlace_.cell) {
        finish();
        cairo_tag_begin(cr_, "Span", "");
        span_.emplace();
        layer_.spans.back().append(QString());
        PdfTextLayer::About about;
        about.figure = figure;
        about.place = layer_.place;
        about.row = tablePlace_.row;
        about.cell = tablePlace_.cell;
        about.linePart = std::exchange(newLinePart_, false);
        if (figure == copyFigure_ && figure > 0) {
            about.figureText = copyDescription_;
        } else if (figure > 0 && picture_) {
            // What the page says the figure shows, else its labels as one.
            about.figureText = picture_->description(size_t(figure - 1));
            if (about.figureText.isEmpty()) about.figureText = linearText(*picture_, size_t(figure - 1)).simplified();
        }
        layer_.about.back().push_back(about);
    }
    span_->append({cell, meaning});
    spanLeft_ = cell.left();
    layer_.spans.back().back() = span_->text();
    PdfTextLayer::About& about = layer_.about.back().back();
    const QString said = (spoken.isEmpty() ? meaning : spoken).simplified();
    if (!said.isEmpty()) about.spoken += (about.spoken.isEmpty() ? QString() : QStringLiteral(" ")) + said;
    about.formula = about.formula || formula;
}

QString PdfCanvas::failure() const {
    const cairo_status_t s = cairo_status(cr_);
    return s == CAIRO_STATUS_SUCCESS ? QString() : QString::fromUtf8(cairo_status_to_string(s));
}

void PdfCanvas::paint(const DrawOp& op) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) return;
    const Pen& pen = op.pen;
    switch (op.kind) {
    case DrawOp::Text:
    case DrawOp::Glyph: {
        const painting::ShownText t = painting::shownText(op);
        text(t.font, op, t.shown);
        break;
    }
    case DrawOp::Line: {
        const QPen p = painting::linePen(pen.color, pen.width, pen.style);
        if (!strokes(p)) break;
        setPen(cr_, p);
        cairo_move_to(cr_, op.x1 + kAliasedShift, op.y1 + kAliasedShift);
        cairo_line_to(cr_, op.x2 + kAliasedShift, op.y2 + kAliasedShift);
        cairo_stroke(cr_);
        break;
    }
    case DrawOp::Rect:
    case DrawOp::FilledRect: {
        const QRectF r = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
        if (op.kind == DrawOp::FilledRect) {
            setColor(cr_, pen.color);
            cairo_rectangle(cr_, r.x(), r.y(), r.width() + 1, r.height() + 1);
            cairo_fill(cr_);
            break;
        }
        cairo_rectangle(cr_, r.x() + kAliasedShift, r.y() + kAliasedShift, r.width(), r.height());
        if (pen.fillStyle == FillStyle::Solid) {
            setColor(cr_, pen.fillColor);
            cairo_fill_preserve(cr_);
        }
        const QPen p = painting::outlinePen(pen.color, pen.width, pen.style);
        if (strokes(p)) {
            setPen(cr_, p);
            cairo_stroke(cr_);
        }
        cairo_new_path(cr_);
        break;
    }
    case DrawOp::Circle: {
        // A flat ellipse has no outline to draw (and would make the
        // writer's matrix singular).
        if (!(op.rx > 0) || !(op.ry > 0)) break;
        const bool whole = op.start == 0 && op.end == 0;
        double from = 0, to = 2 * M_PI;
        if (!whole) {
            // Qt's arcs run counter-clockwise on the screen; cairo's angles
            // grow clockwise there.
            const auto [start16, span16] = painting::arcSixteenths(op.start, op.end);
            from = -start16 / 16.0 * M_PI / 180;
            to = -(start16 + span16) / 16.0 * M_PI / 180;
        }
        cairo_save(cr_);
        cairo_translate(cr_, op.x1, op.y1);
        cairo_scale(cr_, op.rx, op.ry);
        cairo_new_path(cr_);
        if (whole) cairo_arc(cr_, 0, 0, 1, from, to);
        else cairo_arc_negative(cr_, 0, 0, 1, from, to);
        cairo_restore(cr_);
        if (whole && pen.fillStyle == FillStyle::Solid) {
            setColor(cr_, pen.fillColor);
            cairo_fill_preserve(cr_);
        }
        const QPen p = painting::curvePen(pen.color, pen.width, pen.style);
        if (strokes(p)) {
            setPen(cr_, p);
            cairo_stroke(cr_);
        }
        cairo_new_path(cr_);
        break;
    }
    case DrawOp::Point: {
        const double w = std::max<int>(pen.width, 1);
        const double h = pen.width <= 1 ? 0 : w / 2.0;
        setColor(cr_, pen.color);
        cairo_rectangle(cr_, op.x1 - h, op.y1 - h, w, w);
        cairo_fill(cr_);
        break;
    }
    case DrawOp::Clear:
        setColor(cr_, pen.color);
        cairo_rectangle(cr_, 0, 0, w_, h_);
        cairo_fill(cr_);
        break;
    case DrawOp::Copy: copy(op); break;
    }
}

namespace {
// Figures copied from another canvas are numbered from here, apart from the
// groups of the page's own picture.
constexpr int kCopiedFigures = 1 << 20;
}  // namespace

void PdfCanvas::copy(const DrawOp& op) {
    const QRectF to = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
    if (!op.copied) return;
    const Copied& copied = *op.copied;
    const bool vectors = !copied.drawing.empty();
    if (!copied.text.empty() || vectors) {
        // Clipped to the copy: as vectors, the source's operations in their
        // order, over white unless they begin by clearing; else the copied
        // text first, which the image then covers, the document still
        // holding it as text.
        finish();
        const size_t at = std::exchange(at_, size_t(-1));
        if (!copied.description.isEmpty()) {
            copyFigure_ = kCopiedFigures + ++copies_;
            copyDescription_ = copied.description;
        }
        cairo_save(cr_);
        cairo_rectangle(cr_, to.x(), to.y(), to.width(), to.height());
        cairo_clip(cr_);
        // Each text read as the copy's pieces read it (a minus as a minus).
        size_t k = 0;
        while (k < pieces_.size() && pieces_[k].firstOp != at) ++k;
        QHash<QPair<double, double>, const QString*> readings;
        for (const DrawOp& t : copied.text) {
            const bool shows = (t.kind == DrawOp::Text || t.kind == DrawOp::Glyph) && !t.meaning.trimmed().isEmpty();
            const QString* reading = shows && k < pieces_.size() && pieces_[k].firstOp == at ? &pieces_[k++].text : nullptr;
            if (vectors) {
                if (reading) readings.insert({t.x1, t.y1}, reading);
                continue;
            }
            copiedText_ = reading;
            paint(t);
        }
        if (vectors) {
            if (copied.drawing.front().kind != DrawOp::Clear) {
                cairo_set_source_rgb(cr_, 1, 1, 1);
                cairo_paint(cr_);
            }
            for (const DrawOp& d : copied.drawing) {
                copiedText_ = readings.value({d.x1, d.y1}, nullptr);
                paint(d);
            }
        }
        copiedText_ = nullptr;
        finish();
        copyFigure_ = 0;
        at_ = at;
        cairo_restore(cr_);
        if (vectors) return;
    }
    if (op.copied->pixels.isNull() || to.isEmpty()) return;
    const QImage img = op.copied->pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, img.width(), img.height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < img.height(); ++y)
        std::memcpy(data + qsizetype(y) * stride, img.constScanLine(y), size_t(img.width()) * 4);
    cairo_surface_mark_dirty(s);
    cairo_save(cr_);
    cairo_translate(cr_, to.x(), to.y());
    cairo_scale(cr_, to.width() / img.width(), to.height() / img.height());
    cairo_set_source_surface(cr_, s, 0, 0);
    // Pixels as pixels, as the painter canvas leaves them.
    cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_FAST);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(s);
}

void PdfCanvas::text(const ResolvedFont& rf, const DrawOp& op, const QString& shown) {
    if (shown.isEmpty()) return;
    // The rasteriser slants a face that has no italic; here, as on the
    // painter canvas, the slant is a shear of an upright face.
    bool slanted = false;
    const std::vector<Run> runs = glyphsOf(rf, shown, &slanted);
    qsizetype glyphCount = 0;
    for (const Run& r : runs) glyphCount += qsizetype(r.glyphs.size());
    if (glyphCount == 0) return;
    const int32_t piece = at_ < pieceOf_.size() ? pieceOf_[at_] : -1;
    tablePlace_ = at_ < tablePlaceOf_.size() ? tablePlaceOf_[at_] : TablePlace();
    if (piece == kReadElsewhere) {
        // In a span of no text, so that extractors take nothing for it.
        joinSpan(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized(), QString());
    } else if (piece < 0) {
        joinSpan(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized(),
                 copiedText_ ? *copiedText_ : op.meaning, QString(), false, copyFigure_);
    }
    // A line of Japanese with an English phrase in it is drawn in parts, a
    // span each, so that the phrase can say its language. Only where each
    // glyph is one character of the text, set straight.
    const TextPiece* whole = piece >= 0 && piece != piece_ ? &pieces_[size_t(piece)] : nullptr;
    std::vector<qsizetype> partStarts;  // glyphs (and characters) where a part begins
    if (whole && whole->lastOp == whole->firstOp + 1 && whole->text == op.meaning && op.meaning == shown &&
        shown.size() == glyphCount && shown.toUcs4().size() == glyphCount && !op.angle && !slanted &&
        (whole->block & 0xFFFF) == 0 && tablePlace_.cell == 0) {
        for (const auto& [from, to] : englishPhrases(shown)) {
            if (from > 0) partStarts.push_back(from);
            if (to < shown.size()) partStarts.push_back(to);
        }
        partStarts.erase(std::unique(partStarts.begin(), partStarts.end()), partStarts.end());
    }
    std::vector<double> glyphX;
    for (const Run& r : runs)
        for (const cairo_glyph_t& g : r.glyphs) glyphX.push_back(op.x1 + g.x);
    const auto joinPart = [&](size_t k) {
        const qsizetype from = k == 0 ? 0 : partStarts[k - 1];
        const qsizetype to = k < partStarts.size() ? partStarts[k] : shown.size();
        const double left = k == 0 ? whole->cell.left() : glyphX[size_t(from)];
        const double right = to < shown.size() ? glyphX[size_t(to)] : whole->cell.right();
        const QRectF cell(QPointF(left, whole->cell.top()), QPointF(right, whole->cell.bottom()));
        const QString part = shown.mid(from, to - from);
        newLinePart_ = k > 0;
        joinSpan(cell, part, k == 0 && partStarts.empty() ? spoken_[size_t(piece)] : part);
    };
    if (whole && !partStarts.empty()) {
        joinPart(0);
    } else if (whole) {
        // The rest of the piece's operations draw into this span.
        joinSpan(whole->cell, whole->text, spoken_[size_t(piece)], whole->lastOp > whole->firstOp + 1,
                 whole->block & 0xFFFF);
    }
    piece_ = piece;

    cairo_save(cr_);
    cairo_translate(cr_, op.x1, op.y1);
    if (op.angle) cairo_rotate(cr_, -op.angle * M_PI / 180.0);
    if (slanted) {
        // Lean about the baseline, so that it stays where it was.
        cairo_translate(cr_, 0, rf.ascent);
        cairo_matrix_t shear;
        cairo_matrix_init(&shear, 1, 0, -kSyntheticSlant, 1, 0, 0);
        cairo_transform(cr_, &shear);
        cairo_translate(cr_, 0, -rf.ascent);
    }
    setColor(cr_, op.pen.color);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);

    // Each glyph gets its own character where the meaning has one per glyph
    // (the text itself, a Symbol code's sign) and the writer has not been
    // given another for it; the span's text covers the rest. A glyph is
    // never handed an empty text, nor a second character: the writer would
    // then mark it with a span of its own, inside the run's span, where the
    // text extractors lose the outer one.
    QList<uint> codes = op.meaning.toUcs4();
    // A bracket's pieces are their own Unicode pieces, not the one sign the
    // bracket stands for.
    if (rf.face.encoding == FaceInfo::SymbolBytes && op.text.size() == glyphCount &&
        std::all_of(op.text.begin(), op.text.end(), [](QChar c) { return bracketPiece(c) != 0; })) {
        codes.clear();
        for (QChar c : op.text) codes.append(uint(bracketPiece(c)));
    }
    // The formula face's hyphen is always a minus sign.
    if (op.font.face == QLatin1String("Courier New"))
        std::replace(codes.begin(), codes.end(), uint('-'), uint(0x2212));
    const bool eachOwn = codes.size() == glyphCount;
    qsizetype next = 0;
    for (const Run& run : runs) {
        std::vector<cairo_glyph_t> glyphs = run.glyphs;
        for (cairo_glyph_t& g : glyphs) g.y += rf.ascent;
        cairo_font_face_t* face = cairoFace(run.font, layer_);
        if (!face) {
            cairo_new_path(cr_);
            fillOutlines(cr_, Run{run.font, glyphs});
            next += qsizetype(glyphs.size());
            continue;
        }
        cairo_set_font_face(cr_, face);
        cairo_set_font_size(cr_, run.font.pixelSize());
        std::vector<QByteArray> said(glyphs.size());
        for (size_t i = 0; i < glyphs.size(); ++i, ++next) {
            const auto key = std::make_pair(static_cast<const void*>(face), quint32(glyphs[i].index));
            const char32_t c = eachOwn ? char32_t(codes[next]) : 0;
            const QString own = eachOwn ? QString::fromUcs4(&c, 1) : QString();
            auto known = layer_.glyphs.constFind(key);
            if (known == layer_.glyphs.constEnd()) layer_.glyphs.insert(key, own);
            else if (*known != own) continue;
            if (!own.isEmpty()) said[i] = own.toUtf8();
        }
        // Runs of glyphs with and without their characters, in order, and
        // parted where a part of the line begins.
        const qsizetype runStart = next - qsizetype(glyphs.size());
        const auto partAt = [&](size_t i) {
            return std::find(partStarts.begin(), partStarts.end(), runStart + qsizetype(i)) - partStarts.begin();
        };
        for (size_t from = 0; from < glyphs.size();) {
            if (const auto k = partAt(from); size_t(k) < partStarts.size()) joinPart(size_t(k) + 1);
            size_t to = from + 1;
            while (to < glyphs.size() && said[to].isEmpty() == said[from].isEmpty() &&
                   size_t(partAt(to)) == partStarts.size())
                ++to;
            if (said[from].isEmpty()) {
                cairo_show_glyphs(cr_, glyphs.data() + from, int(to - from));
            } else {
                QByteArray utf8;
                std::vector<cairo_text_cluster_t> clusters;
                for (size_t i = from; i < to; ++i) {
                    utf8 += said[i];
                    clusters.push_back({int(said[i].size()), 1});
                }
                cairo_show_text_glyphs(cr_, utf8.constData(), int(utf8.size()), glyphs.data() + from,
                                       int(to - from), clusters.data(), int(clusters.size()),
                                       cairo_text_cluster_flags_t(0));
            }
            from = to;
        }
    }
    cairo_restore(cr_);
}

}  // namespace typeset
