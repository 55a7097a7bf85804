// How the probes start a viewer: as it starts for a reader who presses F1 at
// once (no paced drawing), headless unless a platform is named.
#pragma once

#include "application_start.h"
#include "chapter_catalog.h"
#include "faces.h"
#include "form1.h"
#include "state.h"

#include <functional>
#include <memory>

using namespace typeset;
using namespace shell;
using namespace chapters;

// Before the application is made, as the viewers do.
inline void prepareProbeProcess() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    returnFreedMemoryPromptly();
}

struct StartedViewer {
    std::unique_ptr<Chapter> chapter;
    std::unique_ptr<Form1> window;  // null for an unknown chapter
};

// The chapter's window, shown, with every start-up page drawn; beforeStart
// sees the window before its start-up.
inline StartedViewer startAsReader(const char* name,
                                   const std::function<void(Form1&)>& beforeStart = {}) {
    StartedViewer v;
    v.chapter = makeChapter(QString::fromLocal8Bit(name));
    if (!v.chapter) return v;
    installFaceSubstitutions();
    SkipWait = 1;
    v.window = std::make_unique<Form1>(*v.chapter);
    if (beforeStart) beforeStart(*v.window);
    v.window->Form_Load();
    return v;
}
