// A chapter's page box in the real faces, set up as the viewer sets up its
// pages (13-point body face, layout stops from its metrics, the chapter's
// library variant), as the current picture.
#pragma once

#include "chapter.h"
#include "context.h"
#include "entities.h"
#include "faces.h"
#include "backends/raster_canvas.h"
#include "state.h"
#include "text.h"

#include <cmath>
#include <vector>

using namespace typeset;
using namespace shell;

class RealFacePage {
public:
    // On paper the box is the print canvas's size, with Printing set and the
    // narrower margin, as a print click leaves them.
    explicit RealFacePage(const Chapter& chapter, bool paper = false)
        : page(paper ? 792 : 774, paper ? 724 : 729) {
        resetContext();
        resetShellState();
        InitColors();
        Pi = 4 * std::atan(1.0);
        BookmanOK = FontExists(face::Bookman) ? 1 : -1;
        Variant = chapter.profile().library;
        page.FontName = face::Meiryo;
        page.FontSize = 13;
        CurPic = &page;
        UnitW = float(page.TextWidth(QStringLiteral("A")));
        UnitH = float(page.TextHeight(QStringLiteral("A")));
        deriveLayoutStops(10);
        if (paper) {
            Printing = 1;
            LeftX = Round(UnitW);
        }
        visibleBottom = chapter.profile().clientHeight - chapter.profile().designBoxGeometry[0].top;
    }
    ~RealFacePage() {
        Printing = 0;
        CurPic = nullptr;
        Variant = LibraryVariant{};
    }
    RealFacePage(const RealFacePage&) = delete;
    RealFacePage& operator=(const RealFacePage&) = delete;

    // The operations of the page drawn last (its picture).
    const std::vector<DrawOp>& ops() const { return page.picture().ops(); }
    // Its text and glyph operations.
    std::vector<DrawOp> texts() const {
        std::vector<DrawOp> t;
        for (const DrawOp& op : ops())
            if (op.kind == DrawOp::Text || op.kind == DrawOp::Glyph) t.push_back(op);
        return t;
    }

    RasterCanvas page;
    int visibleBottom = 0;  // the lowest y of the box the window shows
};
