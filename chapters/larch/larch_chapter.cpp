#include "larch/larch_chapter.h"

#include "context.h"
#include "form1.h"
#include "markup.h"
#include "page_box.h"
#include "pen.h"
#include "backends/raster_canvas.h"
#include "text.h"

namespace chapters {

LarchChapter::LarchChapter()
    : PagedChapter(makeProfile(),
                   {&LarchChapter::pic0, &LarchChapter::pic1, &LarchChapter::pic2}) {}

LarchChapter::~LarchChapter() = default;

ChapterProfile LarchChapter::makeProfile() {
    ChapterProfile s;
    s.name = QStringLiteral("larch");
    s.title = QStringLiteral("格子振動とベッセル関数");
    // All three page boxes exist at design, each a few pixels off the
    // others' place.
    s.designBoxes = 3;
    s.designBoxGeometry = {{36, 54, 774, 729}, {32, 52, 774, 729}, {31, 51, 774, 729}};
    s.drawnAtStartup = {0, 1, 2};
    s.buttonBack = RGB(244, 244, 255);
    s.keepsDefFore = true;
    s.systemButtonColourFirst = true;
    s.entitiesBeforePrintCanvas = true;

    LibraryVariant& v = s.library;
    v.braceExtension = LibraryVariant::BraceExtension::HeightAtLeastOne;
    return s;
}

void LarchChapter::attach(Form1& form) {
    for (int i = 0; i < 2; ++i) {
        const Rect& g = picGRect[size_t(i)];
        // A child of its page box: shown and hidden with the page, and it
        // keeps its picture from start-up until the page is shown.
        auto* box = new PageBox(&form.pic(i), g);
        form.layout().add(box);
        setPicG(i, &box->canvas());
    }
}

Canvas& LarchChapter::picG(int index) {
    const size_t i = size_t(index);
    if (!picG_.at(i)) {
        const Rect& g = picGRect[i];
        ownG_[i] = std::make_unique<RasterCanvas>(g.width, g.height);
        picG_[i] = ownG_[i].get();
    }
    return *picG_[i];
}

void LarchChapter::copyFigure(Canvas& page, int index) {
    // Read from CurPic, which DrawMasses has left on the figure box.
    const Rect& g = picGRect[size_t(index)];
    page.copyFrom(*CurPic, g.left, g.top, CurPic->pixelWidth(), CurPic->pixelHeight(), 0, 0);
}

void LarchChapter::d2_dx2() {
    Canvas& c = *CurPic;
    const float y0 = PenY;
    const float x0 = float(PenX + 4.0);
    float x = x0;
    Construct fraction(c, Group::Fraction);
    dsp_text(c, x, y0, QStringLiteral("──"));
    PenX = float(x0 + 8.0);
    PenY = float(y0 - 12.0);
    drawAs(c, Group::Numerator, [] { prSquare(QStringLiteral("d")); });
    PenX = x0;
    PenY = float(y0 + 14.0);
    drawAs(c, Group::Denominator, [&] {
        prVar(QStringLiteral("d"));
        Skip(2);
        prVar(QStringLiteral("x"));
        dsp_sup(c, PenX, float(PenY + 2.0), QStringLiteral("2"));
    });
    PenY = y0;
}

}  // namespace chapters
