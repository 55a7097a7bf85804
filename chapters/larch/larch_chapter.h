// The lattice-vibration chapter: a chain of equal masses joined by springs,
// whose atom n moves as the even-order Bessel function J_2n(t), and how that
// solution is built from the chain's normal modes.
#pragma once

#include "chapter.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace chapters {


class LarchChapter : public PagedChapter<LarchChapter> {
public:
    LarchChapter();
    ~LarchChapter() override;
    static ChapterProfile makeProfile();

    // Each page box holds a small figure box of its own (pages 0 and 1).
    void attach(Form1& form) override;

    void pic0();
    void pic1();
    void pic2();

    // The chain in picG(index): 0 at rest with every mass labelled "M", 1
    // with the middle atom pushed right and the masses numbered. Leaves
    // CurPic on the figure box.
    void DrawMasses(int index);
    void DrawSprings(Canvas& box);
    // d²/dx² at the pen.
    void d2_dx2();

    // The figure boxes; until attach gives them their places on the pages
    // they are off-screen canvases of the designed size.
    Canvas& picG(int index);
    void setPicG(int index, Canvas* box) { picG_.at(size_t(index)) = box; }
    // Where each figure box sits inside its page box.
    static constexpr std::array<Rect, 2> picGRect{{{387, 161, 362, 47}, {386, 131, 367, 47}}};

    // Figure state, recomputed by every DrawMasses.
    int32_t LastMass = 5;
    std::array<int32_t, 12> MassX{};
    std::array<float, 12> MassXf{};
    float CellW = 0;
    int32_t MassW = 0;
    int32_t MassR = 0;

    // Pen columns remembered within one page routine.
    float EqCol = 0, EqCol2 = 0;

private:
    // Prints the figure box's pixels onto the page canvas at the box's place.
    void copyFigure(Canvas& page, int index);

    std::array<Canvas*, 2> picG_{};
    std::array<std::unique_ptr<RasterCanvas>, 2> ownG_;
};

}  // namespace chapters
