// startup_floor: what the platform alone costs a viewer's start-up. A bare
// window of a viewer's size showing one line of Japanese text in the body
// face; "ready" on stdout after its first paint, then exit. startup_bench
// reports every viewer against it.
#include "memory_map.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <cstdio>


namespace {

class FloorWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        // The body face's substitute at the pages' 13 points (96 dpi).
        QFont f(QStringLiteral("Noto Sans CJK JP"));
        f.setPixelSize(17);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(24, 40, QStringLiteral("チェビシェフ多項式による関数近似"));
        if (!painted_) {
            painted_ = true;
            copyMemoryMapIfAsked();
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
    }

private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FloorWindow window;
    window.resize(792, 724);  // the viewers' window
    window.show();
    return app.exec();
}
