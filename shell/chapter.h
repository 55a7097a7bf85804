// What a chapter hands the shell: its row of the deliverables table, its
// geometry, the library variant it was written for, and its page routines.
#pragma once

#include "canvas.h"
#include "variant.h"

#include <QString>
#include <utility>
#include <vector>

namespace typeset {
class RasterCanvas;
}

namespace shell {

class PageBox;
class Form1;
class LabelButton;

struct Rect {
    int left, top, width, height;
};

struct ChapterProfile {
    QString name;     // the deliverable, e.g. "alder"
    QString title;    // Label1 and the printed title of page 0
    QString caption;  // window caption; the title when empty
    int pages = 1;
    int designBoxes = 1;                 // pic(0) .. pic(designBoxes - 1) exist at design
    std::vector<int> drawnAtStartup;     // in page order
    std::vector<int> redrawnWhenShown;   // drawn again every time ShowThisPic shows them
    std::vector<int> shownWhileDrawnAtStartup;  // interactive pages that wait for the reader
    Color buttonBack = RGB(240, 240, 255);
    bool f1SetsSkipWait = false;
    bool closeEndsProgram = false;       // closing ends the program at once
    bool keepsDefFore = false;           // saves the window's text colour in DefFore
    bool systemButtonColourFirst = false;
    bool entitiesBeforePrintCanvas = false;
    bool hidesBackAtStart = false;
    bool unloadsPrintCanvasOnPaint = false;
    int tabX3Units = 10;                 // TabX3 = Round(tabX3Units * UnitW + LeftX)

    // Geometry of the window's client area and controls, in pixels.
    int clientWidth = 792, clientHeight = 724;
    std::vector<Rect> designBoxGeometry{{13, 39, 774, 729}};  // one per design box
    Rect cmdPrint{635, 4, 43, 32};
    Rect cmdBack{697, 9, 20, 26};
    Rect cmdGo{729, 10, 20, 26};
    Rect label1{209, 5, 303, 31};

    typeset::LibraryVariant library;
};

class Chapter {
public:
    virtual ~Chapter() = default;
    virtual const ChapterProfile& profile() const = 0;
    // The page routine picN: clears CurPic and draws the whole page on it.
    virtual void drawPage(int n) = 0;
    // Called once the page boxes exist, for pages that hold controls of their
    // own (step buttons, figure boxes).
    virtual void attach(Form1&) {}
    // Printing page n: a chapter that composes the printed page itself from
    // what is on screen (instead of drawing it again) does so onto CurPic and
    // returns true.
    virtual bool composePrintedPage(int) { return false; }
};

// A chapter whose page routines are its own methods pic0 … picN, listed once
// in page order; the profile's page count is the length of that list.
template <class Self>
class PagedChapter : public Chapter {
public:
    using PageRoutine = void (Self::*)();

    PagedChapter(ChapterProfile profile, std::vector<PageRoutine> pages)
        : profile_(std::move(profile)), pages_(std::move(pages)) {
        profile_.pages = int(pages_.size());
    }

    const ChapterProfile& profile() const override { return profile_; }

    void drawPage(int n) override {
        if (n < 0 || n >= int(pages_.size())) return;
        (static_cast<Self*>(this)->*pages_[size_t(n)])();
    }

protected:
    ChapterProfile profile_;

private:
    std::vector<PageRoutine> pages_;
};

}  // namespace shell

// The chapters are written in the library's and the shell's vocabulary.
namespace chapters {
using namespace typeset;
using namespace shell;
}  // namespace chapters
