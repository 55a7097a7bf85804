// The thermodynamic magic square: a mnemonic diagram from which the
// differentials of the four potentials and the four Maxwell relations are
// read off. Page 1 builds the square in front of the reader in five steps,
// each released by a click on its step button.
#pragma once

#include "chapter.h"
#include "replay.h"

#include <QString>
#include <array>
#include <cstdint>

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

    // The chapter methods of the construction. Its waits and what the
    // reader sees change at them are recorded, and shown in time (Pace).
    void Wait(float seconds);
    void DrawSlow(int32_t x1, int32_t y1, int32_t dx, int32_t dy, Color colour);
    void WaitStpNo();
    void Stp_Click(int index);

    // dX: an upright d a little above the line, then the italic variable.
    void dif(const QString& v);
    // A bold partial sign at the pen.
    void del_bold();

    // Controls of page 1 (null until attach).
    SquareBox* PicSq = nullptr;
    std::array<LabelButton*, 6> Stp{};  // Stp[1] … Stp[5]

    int32_t StepNo = 0;  // the last step released, 0 before the first

private:
    void construct();
    // Runs when the construction's showing gets here.
    void then(std::function<void()> change) { pace_->then(std::move(change)); }
    void hideSteps();
    void blink(int letter);
    void readingTheSquare();
    void maxwellRow(const char* label, const QString (&left)[3], bool minus,
                    const QString (&right)[3]);

    Form1* form_ = nullptr;
    PageBox* page1_ = nullptr;
    Pace* pace_ = nullptr;  // the construction being drawn
    int32_t stepsDrawn_ = 0;  // the steps the construction has come to so far
};

}  // namespace chapters
