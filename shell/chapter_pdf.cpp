#include "chapter_pdf.h"


#include "backends/pdf_canvas.h"
#include "form1.h"
#include "page_text.h"
#include "picture.h"
#include "safe_file.h"

#include <QDateTime>
#include <QRectF>
#include <QRegularExpression>
#include <cairo-pdf.h>
#include <cairo.h>
#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <qpdf/QPDFWriter.hh>
#include <algorithm>
#include <map>
#include <set>
#include <memory>
#include <tuple>
#include <unistd.h>

using namespace typeset;

namespace shell {

namespace {

// A4 and its margins, in PDF points.
constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kPaperW = 210 * kPointsPerMm, kPaperH = 297 * kPointsPerMm;
constexpr double kMargin = 15 * kPointsPerMm;

cairo_status_t appendTo(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<QByteArray*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Where a sheet puts its pages: its size, and a cell for each page in
// reading order (left to right, then down), in PDF points.
struct SheetLayout {
    double width = kPaperW, height = kPaperH;
    std::vector<QRectF> cells;
    bool centred = false;  // each page in the middle of its cell, else at its top-left
};

// One page a sheet is the A4 page within its margins. Two and four are a
// column of two and a 2 x 2 grid, on the A4 sheet turned whichever way
// shows the pages larger: the print canvas is wider than tall, so two come
// out largest one above the other on an upright sheet and four on a sheet
// laid on its side.
SheetLayout sheetLayout(int perSheet, QSizeF page) {
    SheetLayout layout;
    if (perSheet <= 1 || page.isEmpty()) {
        layout.cells.push_back(QRectF(kMargin, kMargin, kPaperW - 2 * kMargin, kPaperH - 2 * kMargin));
        return layout;
    }
    constexpr double gap = 8 * kPointsPerMm;
    const int columns = perSheet == 4 ? 2 : 1, rows = perSheet == 4 ? 2 : perSheet;
    auto cellOn = [&](double w, double h) {
        return QSizeF((w - 2 * kMargin - (columns - 1) * gap) / columns, (h - 2 * kMargin - (rows - 1) * gap) / rows);
    };
    auto shown = [&](QSizeF cell) { return std::min(cell.width() / page.width(), cell.height() / page.height()); };
    const bool turned = shown(cellOn(kPaperH, kPaperW)) > shown(cellOn(kPaperW, kPaperH));
    if (turned) std::swap(layout.width, layout.height);
    const QSizeF cell = cellOn(layout.width, layout.height);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            layout.cells.push_back(
                QRectF(QPointF(kMargin + c * (cell.width() + gap), kMargin + r * (cell.height() + gap)), cell));
    layout.centred = true;
    return layout;
}

// Draws the page in the cell, as large as fits there, and says where on the
// sheet its top-left corner came. Returns why the writer stopped, or an
// empty text.
QString drawPage(cairo_t* cr, const PrintedPage& page, const QRectF& cell, bool centred, PdfTextLayer& layer,
                 QPointF* at) {
    *at = cell.topLeft();
    const QSizeF size = page.size();
    if (size.isEmpty()) return QString();
    QSizeF fitted = size;
    fitted.scale(cell.size(), Qt::KeepAspectRatio);
    if (centred) *at += QPointF(cell.width() - fitted.width(), cell.height() - fitted.height()) / 2;
    cairo_save(cr);
    cairo_translate(cr, at->x(), at->y());
    if (centred) {
        // A hairline round each page of a shared sheet, where the white of
        // one page would run into the next.
        cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
        cairo_set_line_width(cr, 0.3);
        cairo_rectangle(cr, 0, 0, fitted.width(), fitted.height());
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, 0, 0, fitted.width(), fitted.height());
    cairo_clip(cr);
    // One scale from canvas pixels to paper: every position is the canvas's.
    cairo_scale(cr, fitted.width() / size.width(), fitted.height() / size.height());
    PdfCanvas paper(cr, int(size.width()), int(size.height()), layer);
    if (page.picture) {
        paper.drawPicture(*page.picture);
    } else {
        // A bare image: drawn as a copy of itself.
        Picture image(page.image.size());
        DrawOp op;
        op.kind = DrawOp::Copy;
        op.x2 = size.width(), op.y2 = size.height();
        op.copied = std::make_shared<const Copied>(Copied{page.image, {}, {}, {}});
        image.add(std::move(op));
        paper.drawPicture(image);
    }
    paper.finish();
    cairo_restore(cr);
    return paper.failure();
}

// The document as the PDF writer makes it; empty with `why` set on failure.
QByteArray draw(const std::vector<PrintedPage>& pages, int perSheet, const QString& title,
                const QString& creator, PdfTextLayer& layer, QString* why) {
    QSizeF largest;
    for (const PrintedPage& page : pages) largest = largest.expandedTo(page.size());
    const SheetLayout sheet = sheetLayout(perSheet, largest);
    perSheet = int(sheet.cells.size());
    QByteArray out;
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(appendTo, &out, sheet.width, sheet.height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.toUtf8().constData());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR,
                                   creator.toUtf8().constData());
    // A build that fixes the time (SOURCE_DATE_EPOCH, in seconds) gets the
    // same file from the same chapter.
    bool fixed = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&fixed);
    if (fixed) {
        const QByteArray date = QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC)
                                    .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))
                                    .toLatin1();
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, date.constData());
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_MOD_DATE, date.constData());
    }
    // The fonts are cut to the glyphs of every page before any is drawn.
    for (const PrintedPage& page : pages)
        if (page.picture) layer.noteGlyphs(*page.picture);
    cairo_t* cr = cairo_create(surface);
    const QStringList names = outlineNames(pages);
    const std::vector<QStringList> headings = outlineHeadings(pages);
    QString failure;
    for (size_t i = 0; i < pages.size() && failure.isEmpty(); ++i) {
        const size_t place = i % size_t(perSheet);
        if (place == 0) layer.newSheet();
        layer.place = int(place);
        QPointF at;
        failure = drawPage(cr, pages[i], sheet.cells[place], sheet.centred, layer, &at);
        // A page of its own is found by its sheet; one of several, by its
        // place there too.
        QByteArray target = "page=" + QByteArray::number(qulonglong(i / size_t(perSheet) + 1));
        if (perSheet > 1)
            target += " pos=[" + QByteArray::number(at.x(), 'f', 2) + ' ' + QByteArray::number(at.y(), 'f', 2) + ']';
        const int entry = cairo_pdf_surface_add_outline(
            surface, CAIRO_PDF_OUTLINE_ROOT, names[qsizetype(i)].toUtf8().constData(), target.constData(),
            headings[i].isEmpty() ? cairo_pdf_outline_flags_t(0) : CAIRO_PDF_OUTLINE_FLAG_OPEN);
        for (const QString& h : headings[i])
            cairo_pdf_surface_add_outline(surface, entry, h.toUtf8().constData(), target.constData(),
                                          cairo_pdf_outline_flags_t(0));
        if (place + 1 == size_t(perSheet) || i + 1 == pages.size()) cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    if (failure.isEmpty() && cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS)
        failure = QString::fromUtf8(cairo_status_to_string(cairo_surface_status(surface)));
    cairo_surface_destroy(surface);
    if (!failure.isEmpty()) {
        *why = QStringLiteral("the PDF could not be made (%1)").arg(failure);
        return QByteArray();
    }
    return out;
}

bool isCjkLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF);
}

// A span in English words rather than Japanese or a formula: no Japanese
// letter, full-width or mathematical sign, and at least two words of three letters or more
// that are not a function's name ("Step 1" and "cos u sin u" are no English
// to a reader aloud).
bool isEnglish(const QString& text) {
    static const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30FF}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-\\x{FFEF}]"));
    // Nor a formula's signs: "dU=TdS−pdV" has letters too.
    static const QRegularExpression math(QStringLiteral("[=+<>^_\\x{2212}\\x{00B1}\\x{00D7}\\x{00F7}\\x{2211}\\x{222B}\\x{221A}\\x{2264}\\x{2265}\\x{2248}]"));
    if (japanese.match(text).hasMatch() || math.match(text).hasMatch()) return false;
    return englishWords(text) >= 2;
}

// The structure element a span is: the chapter's title (the first span),
// a numbered heading, a figure's label, a formula standing alone (a line
// with a construct and no Japanese words), or a paragraph line.
QByteArray roleOf(const PdfTextLayer& layer, size_t page, qsizetype span) {
    if (page >= layer.spans.size() || span < 0 || span >= layer.spans[page].size()) return "Span";
    const QString& text = layer.spans[page][span];
    const PdfTextLayer::About& about = layer.about[page][size_t(span)];
    static const QRegularExpression heading(QStringLiteral("^\\s*\\(\\d+\\)\\s*\\S"));
    if (page == 0 && span == 0) return "H1";
    if (about.figure) return "Span";
    if (heading.match(text).hasMatch()) return "H2";
    // A construct, or the notation of one (a continued fraction whose bars
    // were drawn apart from their parts reads whole in its own span).
    static const QRegularExpression notation(QStringLiteral("[=\\x{FF1D}^_/\\x{221A}\\x{2211}\\x{222B}]"));
    if ((about.formula || notation.match(text).hasMatch()) && std::none_of(text.begin(), text.end(), isCjkLetter))
        return "Formula";
    return "P";
}

// A span with no text to give: its glyphs are read in another span.
bool isSilent(const QString& text) { return text.trimmed().isEmpty(); }

// Gives each marked span of a page's contents the text it stands for
// (cairo writes "/Span << /MCID n >> BDC", numbering a page's spans from 0),
// and marks whatever is drawn outside a
// span (rules, frames, a figure's lines) as an artifact.
class SpanTexts : public QPDFObjectHandle::TokenFilter {
public:
    SpanTexts(const PdfTextLayer& layer, size_t page) : layer_(layer), page_(page) {}

    void handleToken(const QPDFTokenizer::Token& token) override {
        using T = QPDFTokenizer;
        if (token.getType() == T::tt_space && !held_.empty()) {
            held_.push_back(token);
            return;
        }
        // The tokens of the pattern, in order, spaces aside.
        static const std::pair<T::token_type_e, const char*> pattern[] = {
            {T::tt_name, "/Span"}, {T::tt_dict_open, nullptr}, {T::tt_name, "/MCID"},
            {T::tt_integer, nullptr}, {T::tt_dict_close, nullptr}, {T::tt_word, "BDC"}};
        const auto& [type, value] = pattern[matched_];
        if (token.getType() == type && (!value || token.getValue() == value)) {
            if (type == T::tt_integer) mcid_ = std::stoll(token.getValue());
            held_.push_back(token);
            if (++matched_ < std::size(pattern)) return;
            flush();
            endArtifact();
            ++depth_;
            const QStringList& texts = page_ < layer_.spans.size() ? layer_.spans[page_] : QStringList();
            if (mcid_ >= 0 && mcid_ < texts.size() && isSilent(texts[qsizetype(mcid_)])) {
                // Glyphs whose text is read elsewhere (a part drawn apart
                // from its construct): an artifact, in no element, holding
                // a span of no text, which is what extractors take for it.
                write("/Artifact BMC /Span << /ActualText () >> BDC");
                silentAt_.push_back(depth_);
                held_.clear();
                matched_ = 0;
                return;
            }
            // Tagged as a span whatever its element: text extractors take
            // the actual text of spans only.
            write("/Span << /MCID " + std::to_string(mcid_));
            if (mcid_ >= 0 && mcid_ < texts.size())
                write(" /ActualText " +
                      QPDFObjectHandle::newUnicodeString(extracted(qsizetype(mcid_)).toStdString()).unparse());
            write(" >> BDC");
            held_.clear();
            matched_ = 0;
            return;
        }
        release();
        if (token.getType() == pattern[0].first && token.getValue() == pattern[0].second) {
            held_.push_back(token);
            matched_ = 1;
            return;
        }
        pass(token);
    }
    void handleEOF() override {
        release();
        flush();
        endArtifact();
    }

private:
    // What text extraction takes for a span: its text; for a table's cells,
    // the whole row at its first cell and nothing at the others, so that a
    // copy of the table reads row by row (the structure keeps each cell's
    // own text).
    QString extracted(qsizetype span) const {
        const QStringList& texts = layer_.spans[page_];
        const auto& about = layer_.about[page_];
        const auto sameRow = [&](qsizetype a, qsizetype b) {
            const PdfTextLayer::About &x = about[size_t(a)], &y = about[size_t(b)];
            return x.cell != 0 && y.cell != 0 && x.row == y.row && x.figure == y.figure && x.place == y.place;
        };
        if (about[size_t(span)].cell == 0) return texts[span];
        if (span > 0 && sameRow(span - 1, span)) return QString();
        QStringList cells;
        for (qsizetype s = span; s < texts.size() && sameRow(span, s); ++s) cells << texts[s].trimmed();
        return cells.join(QLatin1Char(' '));
    }
    void release() {
        for (const auto& t : held_) pass(t);
        held_.clear();
        matched_ = 0;
    }
    // Operands wait for their operator, which says whether an artifact
    // begins before them.
    void pass(const QPDFTokenizer::Token& token) {
        if (token.getType() != QPDFTokenizer::tt_word) {
            if (token.getType() == QPDFTokenizer::tt_space && operands_.empty()) writeToken(token);
            else operands_.push_back(token);
            return;
        }
        const std::string& op = token.getValue();
        // Artifacts end where the graphics state or a text object does, so
        // that they nest with them.
        static const std::set<std::string> ends{"q", "Q", "BT", "ET", "BDC", "BMC"};
        static const std::set<std::string> draws{"m", "l", "c", "v", "y", "h", "re", "S", "s", "f", "F",
                                                 "f*", "B", "B*", "b", "b*", "n", "W", "W*", "Do",
                                                 "sh", "BI", "Tj", "TJ", "'", "\""};
        if (depth_ == 0 && ends.count(op)) endArtifact();
        if (depth_ == 0 && !artifact_ && draws.count(op)) {
            write("/Artifact BMC\n");
            artifact_ = true;
        }
        bool closesSilent = false;
        if (op == "BDC" || op == "BMC") {
            ++depth_;
        } else if (op == "EMC" && depth_ > 0) {
            closesSilent = !silentAt_.empty() && silentAt_.back() == depth_;
            --depth_;
        }
        flush();
        writeToken(token);
        if (closesSilent) {
            write("\nEMC");  // the artifact round it
            silentAt_.pop_back();
        }
    }
    void flush() {
        for (const auto& t : operands_) writeToken(t);
        operands_.clear();
    }
    void endArtifact() {
        if (!artifact_) return;
        write("\nEMC\n");
        artifact_ = false;
    }
    const PdfTextLayer& layer_;
    size_t page_;
    std::vector<QPDFTokenizer::Token> held_, operands_;
    size_t matched_ = 0;
    long long mcid_ = -1;
    int depth_ = 0;
    std::vector<int> silentAt_;  // the depths of the silent spans open
    bool artifact_ = false;
};

// The document's structure: cairo leaves one element per span, in order;
// each becomes its role's element (with its text, and a formula's spoken
// reading as its alternative), under one Document, a figure's labels under
// a Figure whose alternative is the labels read as one, a table's cells as
// TD under a TR for each row, under a Table.
void buildStructure(QPDF& pdf, const PdfTextLayer& layer, const std::map<QPDFObjGen, size_t>& pageIndex) {
    QPDFObjectHandle tree = pdf.getRoot().getKey("/StructTreeRoot");
    if (!tree.isDictionary()) return;
    QPDFObjectHandle leaves = tree.getKey("/K");
    if (leaves.isDictionary()) leaves = QPDFObjectHandle::newArray({leaves});
    if (!leaves.isArray()) return;
    QPDFObjectHandle document = pdf.makeIndirectObject(QPDFObjectHandle::parse(
        "<< /Type /StructElem /S /Document /Lang (ja) >>"));
    document.replaceKey("/P", tree);
    QPDFObjectHandle kids = QPDFObjectHandle::newArray();
    // By sheet, page on the sheet and figure of the page.
    std::map<std::tuple<size_t, int, int>, QPDFObjectHandle> figures;
    // The element of the last line of prose, which a part of it joins.
    QPDFObjectHandle line;
    // Of a table's rows, by its figure and the row's group.
    std::map<std::tuple<size_t, int, int, int>, QPDFObjectHandle> rows;
    // Each page's marked contents by number, from the parent tree, so that
    // a span that became an artifact leaves it too.
    std::map<long long, QPDFObjectHandle> parents;
    if (QPDFObjectHandle nums = tree.getKey("/ParentTree").getKey("/Nums"); nums.isArray())
        for (int n = 0; n + 1 < nums.getArrayNItems(); n += 2)
            if (nums.getArrayItem(n).isInteger())
                parents[nums.getArrayItem(n).getIntValue()] = nums.getArrayItem(n + 1);
    for (int i = 0; i < leaves.getArrayNItems(); ++i) {
        QPDFObjectHandle leaf = leaves.getArrayItem(i);
        const auto page = pageIndex.find(leaf.getKey("/Pg").getObjGen());
        QPDFObjectHandle k = leaf.getKey("/K");
        if (!leaf.isDictionary() || page == pageIndex.end() || !k.isInteger() || page->second >= layer.spans.size() ||
            k.getIntValue() < 0 || k.getIntValue() >= layer.spans[page->second].size()) {
            kids.appendItem(leaf);
            leaf.replaceKey("/P", document);
            continue;
        }
        const size_t p = page->second;
        const qsizetype mcid = qsizetype(k.getIntValue());
        if (isSilent(layer.spans[p][mcid])) {
            QPDFObjectHandle pageObject = pdf.getObjectByObjGen(page->first);
            if (QPDFObjectHandle n = pageObject.getKey("/StructParents"); n.isInteger()) {
                QPDFObjectHandle marked = parents[n.getIntValue()];
                if (marked.isArray() && mcid < marked.getArrayNItems())
                    marked.setArrayItem(int(mcid), QPDFObjectHandle::newNull());
            }
            continue;
        }
        const PdfTextLayer::About& about = layer.about[p][size_t(mcid)];
        const QByteArray role = roleOf(layer, p, mcid);
        leaf.replaceKey("/S", QPDFObjectHandle::newName("/" + role.toStdString()));
        leaf.replaceKey("/ActualText", QPDFObjectHandle::newUnicodeString(layer.spans[p][mcid].toStdString()));
        if (role == "Formula")
            leaf.replaceKey("/Alt", QPDFObjectHandle::newUnicodeString(about.spoken.toStdString()));
        else if (role != "H1" && isEnglish(layer.spans[p][mcid]))
            leaf.replaceKey("/Lang", QPDFObjectHandle::newUnicodeString("en"));
        if (!about.figure && about.linePart && line.isInitialized()) {
            // A part of the line before, parted where its language changes:
            // the line becomes one element of its parts.
            if (!line.getKey("/K").isArray()) {
                QPDFObjectHandle whole = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
                whole.replaceKey("/Type", QPDFObjectHandle::newName("/StructElem"));
                whole.replaceKey("/S", line.getKey("/S"));
                whole.replaceKey("/P", document);
                whole.replaceKey("/Pg", line.getKey("/Pg"));
                whole.replaceKey("/K", QPDFObjectHandle::newArray({line}));
                line.replaceKey("/S", QPDFObjectHandle::newName("/Span"));
                line.replaceKey("/P", whole);
                kids.setArrayItem(kids.getArrayNItems() - 1, whole);
                line = whole;
            }
            leaf.replaceKey("/S", QPDFObjectHandle::newName("/Span"));
            leaf.replaceKey("/P", line);
            line.getKey("/K").appendItem(leaf);
            continue;
        }
        if (!about.figure) {
            leaf.replaceKey("/P", document);
            kids.appendItem(leaf);
            line = leaf;
            continue;
        }
        line = QPDFObjectHandle();
        QPDFObjectHandle& figure = figures[{p, about.place, about.figure}];
        const QPDFObjectHandle said = QPDFObjectHandle::newUnicodeString(
            (about.figureText.isEmpty() ? layer.spans[p][mcid] : about.figureText).toStdString());
        if (!figure.isInitialized()) {
            figure = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /StructElem /S /Figure >>"));
            figure.replaceKey("/P", document);
            figure.replaceKey("/Pg", leaf.getKey("/Pg"));
            figure.replaceKey("/Alt", said);
            figure.replaceKey("/K", QPDFObjectHandle::newArray());
            kids.appendItem(figure);
        }
        if (about.cell == 0) {
            // A label of a figure, or a table's caption.
            if (figure.getKey("/S").getName() == "/Table") leaf.replaceKey("/S", QPDFObjectHandle::newName("/Caption"));
            leaf.replaceKey("/P", figure);
            figure.getKey("/K").appendItem(leaf);
            continue;
        }
        // A table's cell: the figure is the table, read row by row and cell
        // by cell, which says all its description would (the page's text
        // introduces it).
        if (figure.getKey("/S").getName() != "/Table") {
            figure.replaceKey("/S", QPDFObjectHandle::newName("/Table"));
            figure.removeKey("/Alt");
        }
        QPDFObjectHandle& row = rows[{p, about.place, about.figure, about.row}];
        if (!row.isInitialized()) {
            row = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /StructElem /S /TR >>"));
            row.replaceKey("/P", figure);
            row.replaceKey("/Pg", leaf.getKey("/Pg"));
            row.replaceKey("/K", QPDFObjectHandle::newArray());
            figure.getKey("/K").appendItem(row);
        }
        leaf.replaceKey("/S", QPDFObjectHandle::newName("/TD"));
        leaf.replaceKey("/P", row);
        row.getKey("/K").appendItem(leaf);
    }
    document.replaceKey("/K", kids);
    tree.replaceKey("/K", document);
}

// The document's metadata as XMP: its title, language and the claim that
// it follows the accessible-PDF rules (which tests/pdf_text_check.py checks).
QPDFObjectHandle metadata(QPDF& pdf, const QString& title) {
    const QString xmp = QStringLiteral(
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
        "xmlns:pdfuaid=\"http://www.aiim.org/pdfua/ns/id/\">\n"
        "<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
        "<dc:language><rdf:Bag><rdf:li>ja</rdf:li></rdf:Bag></dc:language>\n"
        "<pdfuaid:part>1</pdfuaid:part>\n"
        "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>\n")
                            .arg(title.toHtmlEscaped());
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf, xmp.toUtf8().toStdString());
    stream.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
    stream.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
    return stream;
}

// What the PDF writer has no call for: the spans' texts and the document's
// structure (a tagged PDF), the language of the text (for readers aloud and
// search), the metadata, and the title shown in place of the file's name.
QByteArray finish(const QByteArray& document, const PdfTextLayer& layer, const QString& title, QString* why) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("chapter", document.constData(), size_t(document.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        std::map<QPDFObjGen, size_t> pageIndex;
        for (size_t i = 0; i < pages.size(); ++i) {
            pageIndex[pages[i].getObjectHandle().getObjGen()] = i;
            pages[i].addContentTokenFilter(std::make_shared<SpanTexts>(layer, i));
            // Assistive technology takes a page's parts in structure order.
            pages[i].getObjectHandle().replaceKey("/Tabs", QPDFObjectHandle::newName("/S"));
        }
        buildStructure(pdf, layer, pageIndex);
        QPDFObjectHandle root = pdf.getRoot();
        root.replaceKey("/Lang", QPDFObjectHandle::newUnicodeString("ja"));
        root.replaceKey("/MarkInfo", QPDFObjectHandle::parse("<< /Marked true >>"));
        root.replaceKey("/Metadata", metadata(pdf, title));
        QPDFObjectHandle preferences = QPDFObjectHandle::newDictionary();
        preferences.replaceKey("/DisplayDocTitle", QPDFObjectHandle::newBool(true));
        root.replaceKey("/ViewerPreferences", preferences);
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        // The file's identifier from its contents, not the clock.
        writer.setDeterministicID(true);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                          qsizetype(buffer->getSize()));
    } catch (const std::exception& e) {
        *why = QStringLiteral("the PDF could not be finished (%1)").arg(QString::fromUtf8(e.what()));
        return QByteArray();
    }
}

}  // namespace

std::vector<PrintedPage> printEveryPage(Form1& window, QString* why) {
    auto keeping = std::make_unique<KeepingPrinter>();
    KeepingPrinter* kept = keeping.get();
    std::unique_ptr<PagePrinter> previous = setPagePrinter(std::move(keeping));
    std::vector<PrintedPage> pages;
    for (int n = 0; n <= window.lastPage(); ++n) {
        window.ShowThisPic(n);
        if (!window.cmdPrint_Click()) {
            *why = QStringLiteral("page %1 could not be printed").arg(n);
            break;
        }
        pages.push_back(kept->last);
    }
    setPagePrinter(std::move(previous));
    return pages;
}

namespace {

QStringList readingLinesOf(const PrintedPage& page) {
    if (!page.picture) return {};
    std::vector<TextPiece> pieces;
    appendPieces(pieces, *page.picture);
    return readingLines(pieces);
}

bool isCjk(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
           (u >= 0xFF00 && u <= 0xFFEF) || (u >= 0x3000 && u <= 0x303F);
}

}  // namespace

QString outlineTitle(const QString& line) {
    QString t = line.simplified();
    for (qsizetype i = 1; i + 1 < t.size(); ++i)
        if (t[i] == u' ' && isCjk(t[i - 1]) && isCjk(t[i + 1])) t.remove(i--, 1);
    return t;
}

QStringList outlineNames(const std::vector<PrintedPage>& pages) {
    QStringList names;
    QString section;
    for (size_t i = 0; i < pages.size(); ++i) {
        const QStringList lines = readingLinesOf(pages[i]);
        QString name = outlineTitle(sectionHeading(lines));
        if (!name.isEmpty()) section = name;
        else if (!section.isEmpty()) name = section + QStringLiteral(" (続き)");
        else name = outlineTitle(firstHeading(lines));
        names << (name.isEmpty() ? QStringLiteral("Page %1").arg(i + 1) : name);
    }
    return names;
}

std::vector<QStringList> outlineHeadings(const std::vector<PrintedPage>& pages) {
    std::vector<QStringList> headings;
    for (const PrintedPage& page : pages) {
        QStringList& found = headings.emplace_back();
        for (const QString& line : readingLinesOf(page))
            if (const QString h = sectionHeading({line}); !h.isEmpty()) found << outlineTitle(h);
    }
    return headings;
}

QString writePdf(const std::vector<PrintedPage>& pages, const QString& path,
                 const QString& title, const QString& creator, int perSheet) {
    if (!isPagesPerSheet(perSheet))
        return QStringLiteral("a handout has 1, 2 or 4 pages a sheet, not %1").arg(perSheet);
    QString why;
    PdfTextLayer layer;
    const QByteArray drawn = draw(pages, perSheet, title, creator, layer, &why);
    if (drawn.isEmpty()) return why;
    const QByteArray document = finish(drawn, layer, title, &why);
    if (document.isEmpty()) return why;
    if (path == QLatin1String("-")) {
        // A pipe or a file the shell opened takes it; a terminal would show
        // the reader a screenful of binary.
        if (::isatty(STDOUT_FILENO))
            return QStringLiteral("standard output is a terminal; a PDF goes to a file or a pipe");
        why = writeStandardOutput(document);
        return why.isEmpty() ? why : QStringLiteral("cannot write the PDF to standard output (%1)").arg(why);
    }
    why = writeFileSafely(path, document);
    return why.isEmpty() ? why : QStringLiteral("cannot write %1 (%2)").arg(path, why);
}

QString writeChapterPdf(Form1& window, const QString& path, int perSheet) {
    QString why;
    const std::vector<PrintedPage> pages = printEveryPage(window, &why);
    if (!why.isEmpty()) return why;
    const ChapterProfile& profile = window.chapter().profile();
    return writePdf(pages, path, profile.title, profile.name, perSheet);
}

}  // namespace shell
