// The fonts the program may draw with. A machine may have hundreds of fonts
// installed; the pages name a dozen faces. Qt lists every installed font at
// start-up and, for every face, size and style it opens, asks the font system
// for the best match among all of them, so that cost grows with the fonts on
// the machine rather than with the pages. Limiting the font system to the
// families the pages can name makes both proportional to what is used.
#pragma once

#include <QStringList>

namespace typeset {

// Makes the font system see only the given families (and the rules of the
// machine's and the user's font configuration, so rendering settings are
// kept). Applied only when every family in `required` is among them;
// otherwise nothing changes and the machine's whole font set stays in use, so
// a machine without the substitutes still draws with what it has. Must run
// before the first font is used. Returns whether the set was limited.
bool limitFontSet(const QStringList& families, const QStringList& required);

}  // namespace typeset
