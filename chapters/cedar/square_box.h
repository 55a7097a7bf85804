// The square's own box on page 1: a page box whose picture is the whole
// figure, the construction's strokes with the outline, the two thin
// diagonals and the letters over them. What changes during the
// construction (a letter written, blinking, the outline gone) is drawn into
// the picture, so that a replay shows it in time and whatever reads the
// picture (page text, the printed page, the presenter's look-ahead) sees the
// square as it stands.
#pragma once

#include "page_box.h"

#include <array>
#include <bitset>
#include <vector>

namespace chapters {

class SquareBox : public shell::PageBox {
    Q_OBJECT
public:
    static constexpr int Width = 325, Height = 304;
    // Shape1: the finished square's outline, shown until step 1.
    static constexpr QRect shape1{50, 50, 200, 200};
    // Line2 and Line4: the diagonals, always on view over the strokes.
    static constexpr QLine line2{60, 60, 240, 240}, line4{60, 240, 240, 60};
    // The letters' places: L(0) … L(8).
    static constexpr int letters = 9;

    SquareBox(QWidget* parent, int left, int top);

    // The finished square with nothing drawn: outline, the letters V F T /
    // U G / S H p, the diagonals.
    void showFinished();
    // Letters and outline gone, the diagonals left, no strokes.
    void clearForConstruction();

    // A stroke of the construction from (x1, y1) to (x2, y2). With `goesOn`
    // it carries on the stroke before, ending where this one ends: a line
    // drawn slowly is kept as one line.
    void line(double x1, double y1, double x2, double y2, Color colour, int width,
              bool goesOn = false);
    void dot(double x, double y, Color colour, int width);

    void setLetter(int i, const QString& text);
    void showLetter(int i, bool on);
    // The letter on view at place i, empty for none: read from the picture,
    // so during a replay it is what the reader sees, not what was drawn.
    QString letterOnView(int i) const;

private:
    struct Stroke {
        double x1, y1, x2, y2;
        Color colour;
        int width;
        bool dot;
    };
    void draw(const Stroke& s);
    // The outline and diagonals again over a stroke that touched them.
    void overlayOver(const Stroke& s);
    void overlay();
    // Cleared and drawn afresh, so that the picture holds only what shows.
    void redraw();

    std::vector<Stroke> strokes_;
    std::array<QString, letters> text_;
    std::bitset<letters> shown_;
    bool outline_ = true;
};

}  // namespace chapters
