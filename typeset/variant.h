// Where the deliverables' library routines differ, the difference is data: the
// chapter hands one of these to the library at start-up (see ChapterProfile).
#pragma once

namespace typeset {

struct LibraryVariant {
    // MarkupWidth: Latin letters at 1.3 times their italic width (false), or
    // every character but the Greek spellings at its plain width (true).
    bool plainMarkupWidth = false;

    // Built-up fraction: the common form (scripts and Greek spellings in both
    // parts), the form that also knows "pi" in the numerator, or each part
    // printed whole as one limit, 4 pixels in, the narrower one centred.
    enum class FractionForm { Common, PiAware, WholeParts };
    FractionForm fraction = FractionForm::Common;

    // When the column brace draws its two extension pieces.
    enum class BraceExtension { Always, HeightAtLeastOne, HeightAboveFourTenths };
    BraceExtension braceExtension = BraceExtension::Always;

    // Tall parentheses in bold (false: in the caller's weight, left as it was).
    bool boldBigParen = true;

    // Summation sign with limits: limits centred by their measured width
    // (false), or placed by their length in characters, the lower one a
    // fixed distance below the line (true).
    bool sumLimitsByLength = false;

    // prFunc: pixels between the name and "(", and the pixel after an
    // ordinary argument before ")".
    int funcNameGap = 4;
    int funcArgTrail = 1;

    // dsp_of_x: the gaps inside "(x)".
    enum class OfXGaps { FallbackTwoPixels, FifthOfA, None };
    OfXGaps ofXGaps = OfXGaps::FallbackTwoPixels;

    // dsp_2p: the extra pixels between "2" and the superscript p.
    int twoPGap = 2;

    // prOver2Pi: the pen stays after the bars, 2 pi set under them (false),
    // or the pen prints 2 pi itself and ends after it, as prOver4Pi does (true).
    bool over2PiPenPrintsDenominator = false;
};

}  // namespace typeset
