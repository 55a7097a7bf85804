#include "font_set.h"

#include <fontconfig/fontconfig.h>

namespace typeset {

namespace {

QByteArray xmlText(const QString& s) {
    return s.toHtmlEscaped().toUtf8();
}

// Fonts are accepted by family before everything else is rejected; the
// font system applies these rules while it reads its caches, so the fonts
// left out are never loaded.
QByteArray selectionRules(const QStringList& families) {
    QByteArray xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig><selectfont><acceptfont>";
    for (const QString& f : families)
        xml += "<pattern><patelt name=\"family\"><string>" + xmlText(f) + "</string></patelt></pattern>";
    xml += "</acceptfont><rejectfont><pattern/></rejectfont></selectfont></fontconfig>";
    return xml;
}

bool hasFamily(FcConfig* config, const QString& family) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* found = FcFontList(config, pattern, objects);
    const bool any = found && found->nfont > 0;
    if (found) FcFontSetDestroy(found);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return any;
}

}  // namespace

bool limitFontSet(const QStringList& families, const QStringList& required) {
    // The machine's configuration (FONTCONFIG_FILE or the default, with the
    // user's own files), without its fonts yet.
    FcConfig* config = FcInitLoadConfig();
    if (!config) return false;
    const QByteArray rules = selectionRules(families);
    bool ok = FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rules.constData()),
                                             FcTrue) &&
              FcConfigBuildFonts(config);
    for (qsizetype i = 0; ok && i < required.size(); ++i) ok = hasFamily(config, required[i]);
    if (ok) ok = FcConfigSetCurrent(config);
    FcConfigDestroy(config);  // the font system holds its own reference when current
    return ok;
}

}  // namespace typeset
