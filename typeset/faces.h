// Face names used by the pages and the installed families that stand in for
// them, plus the byte-code tables of the two symbol faces.
#pragma once

#include <QString>
#include <QStringList>

namespace typeset {

struct FaceInfo {
    QString family;           // installed family drawn for this face
    double ascentEm = 0;      // ascent to use (em units), 0 = the font's own
    double heightEm = 0;      // cell height to use (em units), 0 = the font's own
    enum Encoding { Text, SymbolBytes, WingdingsBytes } encoding = Text;
    // A fixed-pitch face of the Japanese code page: every double-byte
    // character (Greek letters included) fills a full em cell, every
    // single-byte one half an em, whatever advance the substitute gives it.
    bool doubleByteCells = false;
};

// The substitute for a face name; unknown names are passed through as they are.
FaceInfo faceInfo(const QString& face);

// Registers the substitutions with Qt so that widgets naming a page face (the
// window's "メイリオ") get the same family as the canvases, and names on
// standard error, in one line, the substitutes that are not installed. Call
// once.
void installFaceSubstitutions();

// The substitute families that are not installed, sorted.
QStringList missingSubstitutes();


// The text a byte string stands for in a face: the Symbol face keeps the byte
// values, Wingdings codes become their Unicode pictographs, text faces read
// the bytes in the Western code page.
QString decodeBytes(const QByteArray& bytes, FaceInfo::Encoding enc);

// The Unicode text byte codes show in a face: as decodeBytes, but a Symbol
// code becomes the sign it draws.
QString unicodeOfBytes(const QByteArray& bytes, FaceInfo::Encoding enc);
// The sign a Symbol code draws (U+FFFD for codes without one).
char32_t symbolChar(unsigned char code);

// Unicode equivalent of a Wingdings code (0 when the code has none here).
char32_t wingdingsChar(unsigned char code);

}  // namespace typeset

// True when face is one of the installed families, compared exactly.
bool FontExists(const QString& face);
