// What the pages of every chapter share, over the chapter table: on paper a
// page starts one line lower and page 0 carries the chapter title; in the
// real faces nothing runs off the page box or below what the window shows.
#include "chapter_catalog.h"
#include "entities.h"
#include "state.h"
#include "support/library_fixture.h"
#include "support/real_face_page.h"
#include "support/recording_sound.h"

#include <gtest/gtest.h>
#include <algorithm>

using namespace typeset;
using namespace shell;

namespace {

// Where page 0 puts the chapter title on paper: units of UnitW from the
// edge, and its size in points; and a page laid out in fixed places, the
// same on paper (alder's graphs), if the chapter has one.
struct PaperTitle {
    const char* chapter;
    double units, size;
    int fixedPage = -1;
};
constexpr PaperTitle paperTitles[] = {
    {"alder", 15, 20, 3}, {"birch", 15, 16}, {"cedar", 15, 16}, {"hazel", 20, 16},
    {"larch", 15, 16},    {"maple", 15, 16}, {"rowan", 15, 16},
};

// Pages a reader works through in the window (cedar's construction) need
// their controls; paper takes them from the screen.
bool needsWindow(const ChapterProfile& p, int n) {
    return std::count(p.shownWhileDrawnAtStartup.begin(), p.shownWhileDrawnAtStartup.end(), n) > 0;
}

class ChapterPages : public LibraryTest, public ::testing::WithParamInterface<PaperTitle> {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        chapter = makeChapter(QString::fromLatin1(GetParam().chapter));
        ASSERT_TRUE(chapter);
        Variant = chapter->profile().library;
        InitEntities();
        RecordingSound::install();
        SkipWait = 1;  // paced pages drawn at once
    }
    void TearDown() override {
        Variant = LibraryVariant{};
        LibraryTest::TearDown();
    }
    std::unique_ptr<Chapter> chapter;
};

}  // namespace

TEST_P(ChapterPages, OnPaperStartOneLineLowerAndPageZeroCarriesTheTitle) {
    const ChapterProfile& profile = chapter->profile();
    const int screenLeft = LeftX;
    int pages = 0;
    for (int n = 0; n < profile.pages; ++n) {
        if (needsWindow(profile, n)) continue;
        ++pages;
        canvas.ops.clear();
        Printing = 0;
        LeftX = screenLeft;
        CurPic = &canvas;
        chapter->drawPage(n);
        const std::vector<DrawOp> screen = texts();
        canvas.ops.clear();
        Printing = 1;
        LeftX = Round(UnitW);
        CurPic = &canvas;
        chapter->drawPage(n);
        const std::vector<DrawOp> paper = texts();
        Printing = 0;
        ASSERT_FALSE(screen.empty()) << n;
        if (n == 0) {
            ASSERT_EQ(paper.size(), screen.size() + 1);
            EXPECT_EQ(paper[0].text, profile.title);
            EXPECT_DOUBLE_EQ(paper[0].font.size, GetParam().size);
            EXPECT_NEAR(paper[0].x1, GetParam().units * UnitW, 1e-4);
            EXPECT_DOUBLE_EQ(paper[0].y1, UnitH);
            EXPECT_NEAR(paper[1].y1 - screen[0].y1, 1.5 * UnitH, 1e-3);
            continue;
        }
        ASSERT_EQ(paper.size(), screen.size()) << "page " << n;
        EXPECT_TRUE(std::none_of(paper.begin(), paper.end(),
                                 [&](const DrawOp& op) { return op.text == profile.title; }));
        // The text goes down a line (graphs and figures keep their places).
        EXPECT_DOUBLE_EQ(paper[0].y1 - screen[0].y1, n == GetParam().fixedPage ? 0 : UnitH)
            << "page " << n;
    }
    EXPECT_GE(pages, profile.pages - 1);
}

TEST_P(ChapterPages, InTheRealFacesStayOnThePageTheWindowShows) {
    const ChapterProfile& profile = chapter->profile();
    for (bool paper : {false, true}) {
        RealFacePage real(*chapter, paper);
        RecordingSound::install();
        SkipWait = 1;
        // Paper is the print canvas: the window's client area.
        const int bottom = paper ? profile.clientHeight : real.visibleBottom;
        for (int n = 0; n < profile.pages; ++n) {
            if (needsWindow(profile, n)) continue;
            CurPic = &real.page;
            chapter->drawPage(n);
            int drawn = 0;
            for (const DrawOp& op : real.texts()) {
                ++drawn;
                const std::string where = std::string(paper ? "paper" : "screen") + " page " +
                                          std::to_string(n) + ": " + op.text.toStdString();
                EXPECT_GE(op.x1, 0) << where;
                EXPECT_LE(op.x2, 774 - 8) << where;
                EXPECT_LE(op.y2, bottom) << where;
            }
            EXPECT_GT(drawn, 10) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chapters, ChapterPages, ::testing::ValuesIn(paperTitles),
                         [](const ::testing::TestParamInfo<PaperTitle>& param) {
                             return std::string(param.param.chapter);
                         });
