// A specimen window whose prints are kept: a fresh shell state, a recording
// printer in place of the system's, and ending the program does nothing.
#pragma once

#include "chapter_catalog.h"
#include "context.h"
#include "end_program.h"
#include "form1.h"
#include "printer.h"
#include "specimen/specimen_chapter.h"
#include "state.h"
#include "support/recording_printer.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace typeset;
using namespace shell;
using namespace chapters;

class PrintingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetContext();
        resetShellState();
        setEndProgramHandler([] {});
        setPagePrinter(std::make_unique<RecordingPrinter>(printed));
    }
    void TearDown() override {
        form.reset();
        chapter.reset();
        viewer.reset();
        setPagePrinter(nullptr);
        setEndProgramHandler(nullptr);
    }
    // The window, not yet started.
    Form1& make(ChapterProfile profile = SpecimenChapter::defaultProfile()) {
        chapter = std::make_unique<SpecimenChapter>(std::move(profile));
        form = std::make_unique<Form1>(*chapter);
        return *form;
    }
    void start(ChapterProfile profile = SpecimenChapter::defaultProfile()) {
        make(std::move(profile)).Form_Load();
    }
    // One of the viewers' own chapters instead of the specimen, started.
    void startChapter(const char* name) {
        viewer = makeChapter(QString::fromLatin1(name));
        ASSERT_TRUE(viewer);
        form = std::make_unique<Form1>(*viewer);
        form->Form_Load();
    }

    std::vector<QImage> printed;
    std::unique_ptr<SpecimenChapter> chapter;
    std::unique_ptr<Chapter> viewer;
    std::unique_ptr<Form1> form;
};
