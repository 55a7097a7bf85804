#include "faces.h"

#include "font_set.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringDecoder>
#include <cstdio>

namespace typeset {

namespace {


const QHash<QString, FaceInfo>& table() {
    static const QHash<QString, FaceInfo> t = [] {
        QHash<QString, FaceInfo> h;
        auto add = [&h](const QString& face, FaceInfo info) { h.insert(face, info); };
        // The pages place text by the top of its cell, with pixel offsets
        // tuned for the original faces. Each substitute is therefore drawn
        // with the ascent and cell height (em units) of the face it stands
        // for, so that pieces printed at one y in two faces share the
        // baseline the originals gave them. The substitutes' own ascents
        // differ by up to 0.27 em (Symbol), 0.3 em (the Gothic face) and
        // 0.2 em (Century, whose substitute is much taller).
        // The body face keeps its substitute's cell height (1.45 em, not the
        // original's 1.50): it sets UnitH, the line pitch the landed pages
        // were fitted to the visible page with. Its ascent is the original's.
        add(QStringLiteral("メイリオ"), {QStringLiteral("Noto Sans CJK JP"), 1.06, 0});
        add(QStringLiteral("ＭＳ ゴシック"),
            {QStringLiteral("Noto Sans Mono CJK JP"), 0.86, 1.00, FaceInfo::Text, true});
        add(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), 0.891, 1.107});
        // A typewriter face with serifs, as Courier New is: the upright
        // names (cos, sin, lim) in a sans-serif mono read like capitals.
        // Both advance 0.6 em, so no layout moves.
        add(QStringLiteral("Courier New"), {QStringLiteral("Nimbus Mono PS"), 0.833, 1.133});
        add(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), 0.905, 1.117});
        add(QStringLiteral("Century"), {QStringLiteral("C059"), 0.92, 1.14});
        add(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans"), 1.005, 1.215});
        add(QStringLiteral("Symbol"),
            {QStringLiteral("Standard Symbols PS"), 1.005, 1.225, FaceInfo::SymbolBytes});
        add(QStringLiteral("Wingdings"),
            {QStringLiteral("Noto Sans Symbols2"), 0.90, 1.11, FaceInfo::WingdingsBytes});
        return h;
    }();
    return t;
}

// Faces the pages ask for by name that have no substitute: they are drawn
// when the machine has them and replaced by other faces when it does not.
// Only the families named here and in the table are visible to the font
// system (installFaceSubstitutions), so a face new to the pages goes in one
// of the two.
const QStringList& facesWithoutSubstitute() {
    static const QStringList f{QStringLiteral("Bookman Old Style")};
    return f;
}

}  // namespace

FaceInfo faceInfo(const QString& face) {
    auto it = table().constFind(face);
    if (it != table().constEnd()) return *it;
    return FaceInfo{face};
}

void installFaceSubstitutions() {
    // The pages can only ever ask for their own faces, the faces those stand
    // for, and the substitutes; nothing else on the machine is needed.
    QStringList families = facesWithoutSubstitute(), substitutes;
    for (auto it = table().constBegin(); it != table().constEnd(); ++it) {
        families << it.key() << it->family;
        substitutes << it->family;
    }
    limitFontSet(families, substitutes);
    for (auto it = table().constBegin(); it != table().constEnd(); ++it)
        QFont::insertSubstitution(it.key(), it->family);
    // Without them the pages still draw, in whatever face the font system
    // falls back on, but Japanese text and symbols may turn into boxes: the
    // reader should learn why.
    const QStringList missing = missingSubstitutes();
    if (!missing.isEmpty())
        std::fprintf(stderr, "fonts: not installed: %s; pages are drawn in the faces there are\n",
                     qPrintable(missing.join(QStringLiteral(", "))));
}

QStringList missingSubstitutes() {
    // A family that two foundries provide is listed once per foundry, as
    // "C059 [urw]" and "C059 [UKWN]"; either one draws it.
    const QStringList families = QFontDatabase::families();
    const auto installed = [&families](const QString& family) {
        const QString withFoundry = family + QStringLiteral(" [");
        for (const QString& f : families)
            if (f == family || f.startsWith(withFoundry)) return true;
        return false;
    };
    QStringList missing;
    for (const FaceInfo& f : table())
        if (!installed(f.family) && !missing.contains(f.family)) missing.append(f.family);
    missing.sort();
    return missing;
}


char32_t wingdingsChar(unsigned char code) {
    switch (code) {
    case 119: return 0x2B25;   // black medium diamond (bullet)
    case 196: return 0x2BB1;   // arrow down then curving right
    case 224: return 0x1F86A;  // wide-headed rightwards arrow
    case 231: return 0x1F878;  // heavy wide-headed leftwards arrow
    case 232: return 0x1F87A;  // heavy wide-headed rightwards arrow
    default: return 0;
    }
}

char32_t symbolChar(unsigned char code) {
    // The signs of the Symbol face by code. Letters and signs that Unicode
    // has in two forms take the mathematical one where the face draws that
    // (the large sum and product signs, the minus); the pieces of tall
    // brackets, braces and integrals are Unicode's bracket pieces.
    static constexpr char32_t high[] = {
        // 0xA0
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,
        0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
        // 0xB0
        0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
        0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
        // 0xC0
        0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
        0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
        // 0xD0
        0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,
        0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
        // 0xE0
        0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,
        0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
        // 0xF0
        0xFFFD, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
        0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0xFFFD,
    };
    // The Greek letters on "A" to "Z" and "a" to "z", in the face's order
    // ("J" theta symbol, "V" final sigma, "j" phi symbol, "v" pi symbol).
    static constexpr char16_t capitals[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    static constexpr char16_t smalls[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (code >= 0xA0) return high[code - 0xA0];
    if (code >= 'A' && code <= 'Z') return capitals[code - 'A'];
    if (code >= 'a' && code <= 'z') return smalls[code - 'a'];
    switch (code) {
    case 0x22: return 0x2200;  // for all
    case 0x24: return 0x2203;  // there exists
    case 0x27: return 0x220B;  // contains as member
    case 0x2A: return 0x2217;  // asterisk operator
    case 0x2D: return 0x2212;  // minus
    case 0x40: return 0x2245;  // approximately equal
    case 0x5C: return 0x2234;  // therefore
    case 0x5E: return 0x22A5;  // perpendicular
    case 0x60: return 0x203E;  // the radical's overbar
    case 0x7E: return 0x223C;  // tilde operator
    default: break;
    }
    if (code >= 0x20 && code < 0x7F) return code;  // digits and punctuation as they are
    return 0xFFFD;
}

QString unicodeOfBytes(const QByteArray& bytes, FaceInfo::Encoding enc) {
    if (enc != FaceInfo::SymbolBytes) return decodeBytes(bytes, enc);
    QString out;
    for (char b : bytes) {
        const char32_t u = symbolChar(uchar(b));
        out.append(QString::fromUcs4(&u, 1));
    }
    return out;
}

QString decodeBytes(const QByteArray& bytes, FaceInfo::Encoding enc) {
    QString out;
    switch (enc) {
    case FaceInfo::SymbolBytes:
        for (char b : bytes) out.append(QChar(ushort(uchar(b))));
        return out;
    case FaceInfo::WingdingsBytes:
        for (char b : bytes) {
            char32_t u = wingdingsChar(uchar(b));
            if (u) out.append(QString::fromUcs4(&u, 1));
            else out.append(QChar(0xFFFD));
        }
        return out;
    case FaceInfo::Text: {
        QStringDecoder dec("windows-1252");
        if (dec.isValid()) return dec.decode(bytes);
        return QString::fromLatin1(bytes);
    }
    }
    return out;
}

}  // namespace typeset

bool FontExists(const QString& face) {
    static const QStringList families = QFontDatabase::families();
    return families.contains(face, Qt::CaseSensitive);
}
