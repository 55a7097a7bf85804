// Where the deliverables' library routines differ, the difference is data: the
// chapter hands one of these to the library at start-up (see ChapterProfile).
#pragma once

struct LibraryVariant {
    // MarkupWidth: Latin letters at 1.3 times their italic width (false), or
    // every character but the Greek spellings at its plain width (true).
    bool plainMarkupWidth = false;

    // Built-up fraction: the common form, the form that also knows "pi" in the
    // numerator (cedar, maple), or hazel's simpler centred form.
    enum class FractionForm { Common, PiAware, Hazel };
    FractionForm fraction = FractionForm::Common;

    // When the column brace draws its two extension pieces.
    enum class BraceExtension { Always, HeightAtLeastOne, HeightAboveFourTenths };
    BraceExtension braceExtension = BraceExtension::Always;

    // Tall parentheses in bold (every deliverable but hazel).
    bool boldBigParen = true;

    // Summation sign with limits: the common form or hazel's.
    bool hazelSum = false;

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
    // or built like prOver4Pi, the pen printing 2 pi itself (true).
    bool over2PiLikeOver4Pi = false;
};

// The variant in force for this run (set by the shell from the chapter).
inline LibraryVariant Variant;
