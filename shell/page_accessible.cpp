#include "page_accessible.h"

#include "label_button.h"
#include "replay.h"
#include "page_box.h"
#include "page_reading.h"

#include <QAccessibleWidget>

namespace shell {

namespace {

class PageAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit PageAccessible(PageBox* box) : QAccessibleWidget(box, QAccessible::Document) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        // The page in view has the reader's attention: a page change moves
        // it there.
        s.focusable = true;
        s.focused = box().isVisible();
        return s;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return pageHeading(box());
        // Where a drawing on the page stands ("Step 3 / 5、描画中"), or
        // nothing once it is finished.
        if (t == QAccessible::Description) return Replay::statusOn(box().canvas());
        return QAccessibleWidget::text(t);
    }

    // The text, read whole; nothing on a page can be selected or edited.
    QString text(int start, int end) const override {
        const QString all = pageText(box(), true);
        start = qBound(0, start, int(all.size()));
        end = end < 0 ? int(all.size()) : qBound(start, end, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(pageText(box(), true).size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return QString();
    }

private:
    PageBox& box() const { return *static_cast<PageBox*>(widget()); }
};

// The print, arrow and step labels work as buttons: a screen reader sees
// push buttons it can press.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(LabelButton* b) : QAccessibleWidget(b, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    // Its accessible name where it has one (the arrows), else its caption.
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        if (t != QAccessible::Name || !own.isEmpty()) return own;
        return static_cast<LabelButton*>(widget())->text();
    }
    void doAction(const QString& name) override {
        auto* b = static_cast<LabelButton*>(widget());
        if (name == pressAction() && b->isEnabled() && b->isVisible()) b->press();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = true;
        return s;
    }
};

}  // namespace

QAccessibleInterface* pageAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(LabelButton::staticMetaObject.className())) {
        auto* b = qobject_cast<LabelButton*>(object);
        return b ? new ButtonAccessible(b) : nullptr;
    }
    if (className != QLatin1String(PageBox::staticMetaObject.className())) return nullptr;
    auto* box = qobject_cast<PageBox*>(object);
    // A figure box lies on a page box: its text is that page's.
    if (!box || qobject_cast<PageBox*>(box->parentWidget())) return nullptr;
    return new PageAccessible(box);
}

void installPageAccessibility() { QAccessible::installFactory(pageAccessible); }

}  // namespace shell
