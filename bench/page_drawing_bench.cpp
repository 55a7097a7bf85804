// Cost of drawing each page of each chapter on a raster canvas, against a
// floor: the same drawing operations (on the page box and the figure boxes on
// it), recorded once, replayed straight onto images with one QPainter each
// and fonts prepared beforehand (no library logic).
// And what paper costs: a print click (the page drawn again on the print
// canvas while its operations are kept), and that page written as one PDF
// page, as vectors and, for comparison, as its 96-dpi image. And a page
// turn: the page left put to rest, the page shown painted from its runs.
#include "chapter_catalog.h"
#include "faces.h"
#include "font_cache.h"
#include "form1.h"
#include "printer.h"
#include "sound.h"
#include "state.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace typeset;
using namespace shell;
using namespace chapters;

namespace {

struct Viewer {
    std::unique_ptr<Chapter> chapter;
    std::unique_ptr<Form1> window;
};

std::map<std::string, Viewer>& viewers() {
    static std::map<std::string, Viewer> v;
    return v;
}

Viewer& viewer(const std::string& name) {
    Viewer& v = viewers()[name];
    if (!v.window) {
        v.chapter = makeChapter(QString::fromStdString(name));
        v.window = std::make_unique<Form1>(*v.chapter);
        v.window->Form_Load();
    }
    return v;
}

// The page routine alone, on the page's own box (showing a page may itself
// draw it, so the box is shown once beforehand, not in the timed loop).
void drawPage(Viewer& v, int n) {
    CurPic = &v.window->pic(n).canvas();
    v.chapter->drawPage(n);
}

// An operation ready to paint: fonts and colours resolved beforehand.
struct Prepared {
    DrawOp op;
    QFont font;
    double ascent = 0;
    QPen pen;
};

std::vector<Prepared> prepare(const Picture& picture) {
    std::vector<Prepared> out;
    for (const DrawOp& op : picture.ops()) {
        Prepared p;
        p.op = op;
        const QColor colour(int(p.op.pen.color & 255), int((p.op.pen.color >> 8) & 255),
                            int((p.op.pen.color >> 16) & 255));
        p.pen = QPen(colour, p.op.pen.width);
        if (p.op.kind == DrawOp::Text || p.op.kind == DrawOp::Glyph) {
            p.font = QFont(p.op.font.face);
            p.font.setPointSizeF(p.op.font.size);
            p.font.setBold(p.op.font.bold);
            p.font.setItalic(p.op.font.italic);
            p.ascent = QFontMetricsF(p.font).ascent();
        }
        out.push_back(p);
    }
    return out;
}

void replay(QImage& img, const std::vector<Prepared>& ops) {
    QPainter p(&img);
    for (const Prepared& o : ops) {
        const DrawOp& op = o.op;
        switch (op.kind) {
        case DrawOp::Clear: img.fill(Qt::white); break;
        case DrawOp::Text:
        case DrawOp::Glyph:
            p.setFont(o.font);
            p.setPen(o.pen);
            p.drawText(QPointF(op.x1, op.y1 + o.ascent), op.text);
            break;
        case DrawOp::Line: p.setPen(o.pen); p.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)); break;
        case DrawOp::Rect: p.setPen(o.pen); p.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2))); break;
        case DrawOp::FilledRect: p.fillRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)), o.pen.color()); break;
        case DrawOp::Circle: p.setPen(o.pen); p.drawEllipse(QPointF(op.x1, op.y1), op.rx, op.ry); break;
        case DrawOp::Point: p.setPen(o.pen); p.drawPoint(QPointF(op.x1, op.y1)); break;
        case DrawOp::Copy: break;
        }
    }
}

// Every canvas a page routine draws on: the page box's own and those of the
// figure boxes on it (larch's spring, cedar's square).
std::vector<RasterCanvas*> pageCanvases(PageBox& box) {
    std::vector<RasterCanvas*> out{&box.canvas()};
    for (PageBox* inner : box.findChildren<PageBox*>()) out.push_back(&inner->canvas());
    return out;
}

void BM_Library(benchmark::State& state, std::string name, int page) {
    Viewer& v = viewer(name);
    v.window->ShowThisPic(page);
    for (auto _ : state) {
        drawPage(v, page);
    }
    // What the page's picture holds, its figure boxes' included.
    size_t bytes = 0;
    for (RasterCanvas* c : pageCanvases(v.window->pic(page))) bytes += c->picture().bytes();
    state.counters["picture_KB"] = double(bytes) / 1024;
}

// Through the chapter and round again at a zoom, each turn painted on the
// window (pages the chapter redraws when shown are drawn again, as for a
// reader).
void BM_Turn(benchmark::State& state, std::string name, int zoom) {
    Viewer& v = viewer(name);
    Form1& w = *v.window;
    w.setZoom(zoom);
    w.ShowThisPic(0);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        if (CurPage == w.lastPage()) w.ShowThisPic(0);
        else w.Forward();
        w.repaint();
        QCoreApplication::processEvents();
    }
    w.setZoom(100);
}

// One zoom step with page 0 in view, painted: between 175 % and 200 %.
void BM_ZoomStep(benchmark::State& state, std::string name) {
    Viewer& v = viewer(name);
    Form1& w = *v.window;
    w.ShowThisPic(0);
    w.setZoom(175);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        w.setZoom(w.zoom() == 175 ? 200 : 175);
        w.repaint();
        QCoreApplication::processEvents();
    }
    w.setZoom(100);
}

void BM_Floor(benchmark::State& state, std::string name, int page) {
    Viewer& v = viewer(name);
    v.window->ShowThisPic(page);
    const std::vector<RasterCanvas*> canvases = pageCanvases(v.window->pic(page));
    drawPage(v, page);
    struct Replayed {
        std::vector<Prepared> ops;
        QImage image;
    };
    std::vector<Replayed> replays;
    size_t count = 0;
    for (size_t i = 0; i < canvases.size(); ++i) {
        if (canvases[i]->picture().empty()) continue;
        Replayed r{prepare(canvases[i]->picture()),
                   QImage(canvases[i]->image().size(), QImage::Format_RGB32)};
        r.image.setDotsPerMeterX(3780);
        r.image.setDotsPerMeterY(3780);
        count += r.ops.size();
        replays.push_back(std::move(r));
    }
    for (auto _ : state)
        for (Replayed& r : replays) replay(r.image, r.ops);
    state.counters["ops"] = double(count);
}

KeepingPrinter& keepingPrinter() {
    static KeepingPrinter* printer = [] {
        auto p = std::make_unique<KeepingPrinter>();
        KeepingPrinter* raw = p.get();
        setPagePrinter(std::move(p));
        return raw;
    }();
    return *printer;
}

void BM_Print(benchmark::State& state, std::string name, int page) {
    Viewer& v = viewer(name);
    keepingPrinter();
    v.window->ShowThisPic(page);
    for (auto _ : state) v.window->cmdPrint_Click();
}

// The page as a PDF of one A4 page, in memory.
void BM_Pdf(benchmark::State& state, std::string name, int page, bool vectors) {
    Viewer& v = viewer(name);
    KeepingPrinter& printer = keepingPrinter();
    v.window->ShowThisPic(page);
    v.window->cmdPrint_Click();
    const PrintedPage paper = vectors ? printer.last : PrintedPage(printer.last.image);
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&out);
        pdf.setResolution(1200);
        QPainter p(&pdf);
        paper.paint(p, QRectF(QPointF(0, 0), pdf.pageLayout().paintRectPixels(1200).size()));
        p.end();
        bytes = out.size();
    }
    state.counters["bytes"] = double(bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFaceSubstitutions();
    SkipWait = 1;
    // A page that ends with a sound asks for it on every drawing; hearing it
    // is not drawing.
    struct Silent : SoundPlayer {
        void play(const std::string&) override {}
    };
    setSoundPlayer(std::make_unique<Silent>());
    for (const QString& qname : chapterNames()) {
        const std::string name = qname.toStdString();
        auto probe = makeChapter(qname);
        benchmark::RegisterBenchmark(("turn/" + name).c_str(), BM_Turn, name, 100)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("turn200/" + name).c_str(), BM_Turn, name, 200)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("zoomstep/" + name).c_str(), BM_ZoomStep, name)
            ->Unit(benchmark::kMillisecond);
        for (int n = 0; n < probe->profile().pages; ++n) {
            const std::string tag = name + "/p" + std::to_string(n);
            benchmark::RegisterBenchmark(("library/" + tag).c_str(), BM_Library, name, n)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("floor/" + tag).c_str(), BM_Floor, name, n)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("print/" + tag).c_str(), BM_Print, name, n)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("pdf-vectors/" + tag).c_str(), BM_Pdf, name, n, true)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("pdf-image/" + tag).c_str(), BM_Pdf, name, n, false)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    viewers().clear();
    return 0;
}
