// A small chapter for testing the shell and looking at the library: its row
// of the deliverables table is whatever the test needs, its pages count how
// often they are drawn, page 0 is a specimen of the text printers and page 1
// one of the formula constructs.
#pragma once

#include "chapter.h"

#include <functional>
#include <vector>

namespace chapters {

class SpecimenChapter : public Chapter {
public:
    // The default row: three pages, one design box, all drawn at start-up.
    static ChapterProfile defaultProfile();
    explicit SpecimenChapter(ChapterProfile profile = defaultProfile());

    const ChapterProfile& profile() const override { return profile_; }
    void drawPage(int n) override;

    std::vector<int> drawCount;        // per page
    std::vector<int> drawOrder;        // pages in the order they were drawn
    // Runs inside a page routine after it has drawn (a test may pump events
    // here, as a paced page would).
    std::function<void(int)> duringPage;

private:
    void specimenPage();
    void constructsPage();
    void plainPage(int n);
    ChapterProfile profile_;
};

}  // namespace chapters
