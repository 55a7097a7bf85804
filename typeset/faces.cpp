#include "faces.h"

#include "font_set.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringDecoder>
#include <cstdio>

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
        add(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"), 0.833, 1.133});
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

bool FontExists(const QString& face) {
    static const QStringList families = QFontDatabase::families();
    return families.contains(face, Qt::CaseSensitive);
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
