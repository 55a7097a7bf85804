// startup_probe CHAPTER: one viewer start-up; "painted" on stdout once the
// first page box has been painted, "ready" once every start-up page is drawn
// and the window has had its first paint, then exit.
#include "memory_map.h"
#include "page_box.h"
#include "reader_start.h"

#include <QApplication>
#include <cstdio>

using namespace typeset;

namespace {

// Says "painted" after the first paint of any page box.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Paint || done_) return false;
        done_ = true;
        // The paint itself first, so that the line follows the pixels.
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, e);
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        return true;
    }

private:
    bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    prepareProbeProcess();
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    FirstPaint first;
    const StartedViewer v = startAsReader(argv[1], [&first](Form1& w) {
        for (PageBox* box : w.findChildren<PageBox*>()) box->installEventFilter(&first);
    });
    if (!v.window) return 2;
    QCoreApplication::processEvents();  // the window's first paint
    copyMemoryMapIfAsked();
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return 0;
}
