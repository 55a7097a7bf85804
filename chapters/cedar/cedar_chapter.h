// The thermodynamic magic square: a mnemonic diagram from which the
// differentials of the four potentials and the four Maxwell relations are
// read off. Page 1 builds the square in front of the reader in five steps,
// each released by a click on its step button.
#pragma once

#include "chapter.h"
#include "pacing.h"

#include <QString>
#include <array>
#include <cstdint>

class QLabel;

namespace chapters {

class SquareBox;

class CedarChapter : public PagedChapter<CedarChapter> {
public:
    CedarChapter();
    static ChapterProfile makeProfile();

    void pic0();
    void pic1();
    void pic2();
    void pic3();
    void pic4();

    void attach(Form1& form) override;
    bool composePrintedPage(int page) override;

    // The chapter methods of the construction. Each wait returns false when
    // the page has been drawn afresh meanwhile (the older drawing then stops).
    bool Wait(float seconds);
    bool DrawSlow(int32_t x1, int32_t y1, int32_t dx, int32_t dy, Color colour);
    bool WaitStpNo();
    void Stp_Click(int index);

    // dX: an upright d a little above the line, then the italic variable.
    void dif(const QString& v);
    // A bold partial sign at the pen.
    void del_bold();

    // Controls of page 1 (null until attach).
    SquareBox* PicSq = nullptr;
    std::array<QLabel*, 9> L{};
    std::array<LabelButton*, 6> Stp{};  // Stp[1] … Stp[5]

    int32_t StepNo = 0;  // the last step released, 0 before the first

private:
    bool construct(PacedDrawing& pacing);
    // The square as it stands before step 1: outline, letters, diagonals.
    void showFinishedFigure();
    bool blink(QLabel* label);
    void readingTheSquare();
    void maxwellRow(const char* label, const QString (&left)[3], bool minus,
                    const QString (&right)[3]);

    Form1* form_ = nullptr;
    PageBox* page1_ = nullptr;
    PacedDrawing* pacing_ = nullptr;  // the construction under way
};

}  // namespace chapters
