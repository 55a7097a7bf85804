// A chapter's window as a reader leaves it after paging through: for tests
// that read what every page shows.
#pragma once

#include "chapter_catalog.h"
#include "context.h"
#include "end_program.h"
#include "faces.h"
#include "form1.h"
#include "page_box.h"
#include "state.h"
#include "support/recording_sound.h"

#include <memory>

using namespace typeset;
using namespace shell;

// A chapter's window after start-up with paced drawing skipped, every page
// shown once as a reader paging through would.
class ChapterWindow {
public:
    explicit ChapterWindow(const QString& name) : chapter_(makeChapter(name)) {
        resetContext();
        resetShellState();
        setEndProgramHandler([] {});
        RecordingSound::install();
        installFaceSubstitutions();
        SkipWait = 1;
        window_ = std::make_unique<Form1>(*chapter_);
        window_->Form_Load();
        for (int n = 0; n <= window_->lastPage(); ++n) window_->ShowThisPic(n);
    }
    ~ChapterWindow() {
        window_.reset();
        setEndProgramHandler({});
        resetShellState();
        CurPic = nullptr;
    }
    Form1& window() { return *window_; }
    QString pageText(int n) { return window_->pic(n).canvas().picture().text(); }

private:
    std::unique_ptr<Chapter> chapter_;
    std::unique_ptr<Form1> window_;
};

