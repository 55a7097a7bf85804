#include "faces.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QStringDecoder>

namespace {


const QHash<QString, FaceInfo>& table() {
    static const QHash<QString, FaceInfo> t = [] {
        QHash<QString, FaceInfo> h;
        auto add = [&h](const QString& face, FaceInfo info) { h.insert(face, info); };
        add(QStringLiteral("メイリオ"), {QStringLiteral("Noto Sans CJK JP")});
        add(QStringLiteral("ＭＳ ゴシック"),
            {QStringLiteral("Noto Sans Mono CJK JP"), 0, 0, FaceInfo::Text, true});
        add(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")});
        add(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono")});
        add(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
        add(QStringLiteral("Century"), {QStringLiteral("C059")});
        add(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
        // The substitute reports a much smaller ascent than the face the pixel
        // offsets of the formula code were tuned for; use the original's cell.
        add(QStringLiteral("Symbol"),
            {QStringLiteral("Standard Symbols PS"), 1.005, 1.225, FaceInfo::SymbolBytes});
        add(QStringLiteral("Wingdings"),
            {QStringLiteral("Noto Sans Symbols2"), 0, 0, FaceInfo::WingdingsBytes});
        return h;
    }();
    return t;
}

}  // namespace

FaceInfo faceInfo(const QString& face) {
    auto it = table().constFind(face);
    if (it != table().constEnd()) return *it;
    return FaceInfo{face};
}

void installFaceSubstitutions() {
    for (auto it = table().constBegin(); it != table().constEnd(); ++it)
        QFont::insertSubstitution(it.key(), it->family);
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
