#include "window_watch.h"

#include "end_program.h"

#include <QAbstractNativeEventFilter>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <xcb/xcb.h>

namespace shell {

namespace {

class DestroyWatch : public QObject, public QAbstractNativeEventFilter {
public:
    explicit DestroyWatch(QWidget& window) : QObject(&window), window_(&window) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~DestroyWatch() override {
        if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t" || !window_) return false;
        const auto* ev = static_cast<const xcb_generic_event_t*>(message);
        if ((ev->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        // internalWinId: 0 until the window exists natively, and asking never
        // creates one.
        const WId id = window_->internalWinId();
        if (id == 0 || destroyed->window != xcb_window_t(id)) return false;
        QCloseEvent close;
        QCoreApplication::sendEvent(window_, &close);
        // The platform window is gone; the normal way out (hiding it, then
        // tearing the application down) would only meet X errors.
        endProgram();
        return true;
    }

private:
    QPointer<QWidget> window_;
};

}  // namespace

void endWhenDestroyedByOthers(QWidget& window) {
    if (!QCoreApplication::instance()) return;
    new DestroyWatch(window);  // owned by the window
}

}  // namespace shell
