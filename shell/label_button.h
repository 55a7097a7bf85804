// A label used as a button: flat single-line border, centred caption, a click
// when the mouse is pressed and released on it.
#pragma once

#include <QLabel>

namespace shell {

class LabelButton : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // What a click does, for a screen reader's press action.
    void press() { emit clicked(); }
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool pressed_ = false;
};

}  // namespace shell
