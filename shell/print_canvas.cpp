#include "print_canvas.h"

#include <QPainter>
#include <QWidget>

using namespace typeset;

namespace shell {

namespace {

// Shows the print canvas's image as it is being drawn.
class CanvasWindow : public QWidget {
public:
    explicit CanvasWindow(RasterCanvas& c) : canvas_(c) {
        setWindowTitle(QStringLiteral("Form2"));
        resize(c.pixelWidth(), c.pixelHeight());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(QPointF(0, 0), canvas_.image());
    }

private:
    RasterCanvas& canvas_;
};

}  // namespace

PrintCanvas::PrintCanvas(int width, int height) : canvas_(width, height) {
    canvas_.FontName = QStringLiteral("メイリオ");
    canvas_.FontSize = 12.0f;
    canvas_.BackColor = RGB(255, 255, 255);
    canvas_.Cls();
    dspInit(*this);
    canvas_.onMakeVisible = [this] {
        if (!window_) window_ = std::make_unique<CanvasWindow>(canvas_);
        window_->show();
    };
    canvas_.onChange = [this] {
        if (window_) window_->update();
    };
}

PrintCanvas::~PrintCanvas() = default;

}  // namespace shell
