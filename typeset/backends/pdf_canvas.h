// Canvas backend on a cairo PDF surface. It draws a page as the painter
// canvas does (vectors at the layout of the 96-dpi page, the same glyphs at
// the same places, pixel copies as images), but hands every glyph run to the
// PDF writer together with the Unicode text it stands for (the operation's
// meaning), so that the document's text layer reads as the page does: Γ for
// the Symbol face's "G", 方 and not the radical a CJK face maps to the same
// glyph, nothing for the second half of an integral.
//
// A glyph can stand for one character only in a PDF font, and pieces that
// a page sets apart by a few pixels ("Γ", "(", "ν", ...) would read as
// separate words. So each run of pieces drawn one after another along a
// line becomes one marked span, whose text the document writer attaches
// afterwards (cairo has no call for it): the line's text as LineText joins
// it. Text a copy brought along (DrawOp::copied) is laid under the
// copied image: searchable, never seen.
#pragma once

#include "backends/painting.h"
#include "canvas.h"
#include "page_text.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

struct _cairo;
struct _cairo_font_face;

namespace typeset {

struct ResolvedFont;
class Picture;

// What a document's pages have told the PDF writer of their text, and the
// fonts it draws them in.
struct PdfTextLayer {
    PdfTextLayer() = default;
    PdfTextLayer(const PdfTextLayer&) = delete;
    PdfTextLayer& operator=(const PdfTextLayer&) = delete;
    ~PdfTextLayer();

    // Notes the glyphs and characters the picture's text is drawn with, so
    // that the writer's fonts hold those glyphs and no others. A document
    // whose pictures are all noted before any is drawn gets fonts cut to
    // them; one drawn unnoted, the whole font files.
    void noteGlyphs(const Picture& picture);

    // The character the writer was given for a glyph of a face, or an empty
    // text when it was drawn without one first (the writer then keeps the
    // face's own guess).
    QHash<std::pair<const void*, quint32>, QString> glyphs;
    // The text of each marked span, sheet by sheet (a PDF page, which may
    // hold several of the pictures' pages), in the writer's order.
    std::vector<QStringList> spans;
    // What else is known of each span, as spans are laid out.
    struct About {
        QString spoken;  // its text as read aloud
        bool formula = false;  // it holds a formula construct
        int figure = 0;        // the figure it labels (0: none), by picture
        QString figureText;    // that figure's labels, read as one
        int place = 0;         // the page it is on, among its sheet's (from 0)
        // In a table: its row and cell (the picture's groups, from 1); 0
        // outside tables.
        int row = 0, cell = 0;
        // It goes on the line of the span before it, parted from it where
        // the language changes (an English phrase in a Japanese line).
        bool linePart = false;
    };
    std::vector<std::vector<About>> about;

    // Starts the spans of another sheet; the canvases drawn next put theirs
    // there, each with `place` as the place of its page on the sheet.
    void newSheet() {
        spans.emplace_back();
        about.emplace_back();
        place = 0;
    }
    int place = 0;

    // By font file (fontKey in the source): the glyphs and characters
    // noted, and the writer's face made from them.
    struct Used {
        QSet<quint32> glyphs;
        QSet<char32_t> chars;
        _cairo_font_face* face = nullptr;
        bool tried = false;  // to make face
    };
    QHash<QByteArray, Used> fonts;
};

class PdfCanvas : public MeasuredCanvas {
public:
    // Draws one page on cr, whose user space the caller has made the page's
    // canvas pixels (w x h of them), adding its spans to layer's sheet in
    // progress (a first one if there is none).
    PdfCanvas(_cairo* cr, int w, int h, PdfTextLayer& layer);
    ~PdfCanvas() override;

    // Draws a picture with its text read as the reader reads it
    // (linear_text.h): the operations of one piece, a whole formula
    // construct, go into one span, which holds the piece's text once.
    void drawPicture(const Picture& picture);

    // Closes the span in progress; call before the page ends.
    void finish();

    int pixelWidth() const override { return w_; }
    int pixelHeight() const override { return h_; }

    // Why drawing stopped, when the PDF writer gave up on an operation (an
    // empty text while all is well). Nothing is drawn after that.
    QString failure() const;

protected:
    void paint(const DrawOp& op) override;

private:
    void text(const ResolvedFont& rf, const DrawOp& op, const QString& shown);
    void copy(const DrawOp& op);
    // Puts a piece into the span in progress, or ends it and starts another
    // (also where the piece labels another figure or table cell than the
    // span).
    void joinSpan(const QRectF& cell, const QString& meaning, const QString& spoken = QString(),
                  bool formula = false, int figure = 0);
    _cairo* cr_;
    int w_, h_;
    PdfTextLayer& layer_;
    std::optional<LineText> span_;
    double spanLeft_ = 0;  // the left of the span's last piece
    // While drawing a picture: the pieces of its text, the piece each
    // operation is part of (-1: none), the operation being drawn and the
    // piece last put into the span.
    std::vector<TextPiece> pieces_;
    std::vector<QString> spoken_;  // each piece's spoken text, where known
    const Picture* picture_ = nullptr;
    std::vector<int32_t> pieceOf_;
    // The table row and cell each operation stands in, and those of the
    // operation being drawn.
    struct TablePlace {
        int row = 0, cell = 0;
        // It goes on the line of the span before it, parted from it where
        // the language changes (an English phrase in a Japanese line).
        bool linePart = false;
    };
    std::vector<TablePlace> tablePlaceOf_;
    TablePlace tablePlace_;
    bool newLinePart_ = false;  // the next span goes on the line of the one before
    size_t at_ = size_t(-1);
    int32_t piece_ = -1;
    const QString* copiedText_ = nullptr;  // of the copied text being drawn
    // A copy of a described figure being drawn: the figure its text labels
    // (numbered apart from the picture's own), and what it shows.
    int copyFigure_ = 0;
    QString copyDescription_;
    int copies_ = 0;
};

}  // namespace typeset
