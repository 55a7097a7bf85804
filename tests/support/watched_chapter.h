// A chapter that notes every drawing of a page (the canvas, the page and the
// drawing context and shell state it began with) and how deep page routines
// are nested, then draws through the real chapter.
#pragma once

#include "chapter.h"
#include "context.h"
#include "state.h"

#include <cstdint>
#include <memory>
#include <vector>

using namespace typeset;
using namespace shell;

class WatchedChapter : public Chapter {
public:
    struct Drawing {
        const Canvas* canvas;
        int page;
        typeset::DrawingContext context;
        shell::ShellState shell;
        bool composed;  // a printed page composed from the screen, not drawn
    };

    explicit WatchedChapter(std::unique_ptr<Chapter> chapter) : inner(std::move(chapter)) {}

    const ChapterProfile& profile() const override { return inner->profile(); }
    void attach(Form1& form) override { inner->attach(form); }

    void drawPage(int n) override {
        if (onlyNewest)
            std::erase_if(drawings, [](const Drawing& d) { return d.canvas == CurPic; });
        drawings.push_back({CurPic, n, typeset::context, shell::state, false});
        ++drawn;
        Routine r(*this);
        inner->drawPage(n);
    }
    bool composePrintedPage(int n) override {
        const Drawing before{CurPic, n, typeset::context, shell::state, true};
        Routine r(*this);
        const bool composed = inner->composePrintedPage(n);
        if (composed) {
            drawings.push_back(before);
            ++drawn;
        }
        return composed;
    }

    // The newest drawing on canvas c, or null.
    const Drawing* lastOn(const Canvas* c) const {
        for (auto it = drawings.rbegin(); it != drawings.rend(); ++it)
            if (it->canvas == c) return &*it;
        return nullptr;
    }

    std::unique_ptr<Chapter> inner;
    std::vector<Drawing> drawings;
    // Keep only the newest drawing of each canvas (a long storm would
    // otherwise weigh on the memory it measures).
    bool onlyNewest = false;
    uint64_t drawn = 0;  // drawings begun, kept or not
    int depth = 0;            // page routines under way
    uint64_t boundaries = 0;  // page routines begun or ended so far

private:
    // Counts a routine in and out, also when it throws.
    struct Routine {
        explicit Routine(WatchedChapter& c) : c_(c) {
            ++c_.depth;
            ++c_.boundaries;
        }
        ~Routine() {
            --c_.depth;
            ++c_.boundaries;
        }
        WatchedChapter& c_;
    };
};
