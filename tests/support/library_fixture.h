// A fresh drawing context on a recording canvas with the default metric, as
// the shell leaves it after start-up on a 13-point page: UnitW = 6.5,
// UnitH = 19.5, LeftX = 13, BookmanOK = -1 (no Bookman face).
#pragma once

#include "context.h"
#include "entities.h"
#include "backends/recording_canvas.h"
#include "state.h"
#include "variant.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace typeset;
using namespace shell;

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        InitColors();
        Pi = 4.0 * std::atan(1.0);
        BookmanOK = -1;
        canvas.FontName = QStringLiteral("メイリオ");
        canvas.FontSize = 13.0f;
        CurPic = &canvas;
        UnitW = float(canvas.TextWidth(QStringLiteral("A")));
        UnitH = float(canvas.TextHeight(QStringLiteral("A")));
        deriveLayoutStops(10);
        PenX = 100;
        PenY = 200;
    }
    void TearDown() override { CurPic = nullptr; }

    // The text and glyph operations drawn so far.
    std::vector<DrawOp> texts() const { return canvas.texts(); }

    RecordingCanvas canvas;
};

// A fresh context as above with a chapter whose library variant is in force,
// as its viewer sets it.
template <class C>
class ChapterTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        Variant = chapter.profile().library;
    }
    void TearDown() override {
        Variant = LibraryVariant{};
        LibraryTest::TearDown();
    }

    // A page's texts drawn for the screen, then for paper.
    std::pair<std::vector<DrawOp>, std::vector<DrawOp>> screenAndPaper(int page) {
        std::pair<std::vector<DrawOp>, std::vector<DrawOp>> r;
        for (int printing : {0, 1}) {
            canvas.ops.clear();
            Printing = printing;
            chapter.drawPage(page);
            (printing ? r.second : r.first) = canvas.texts();
        }
        Printing = 0;
        return r;
    }

    C chapter;
};
