#include "label_button.h"

#include <QMouseEvent>

namespace shell {

void LabelButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) pressed_ = true;
}

void LabelButton::mouseReleaseEvent(QMouseEvent* e) {
    const bool was = pressed_;
    pressed_ = false;
    if (was && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

}  // namespace shell
