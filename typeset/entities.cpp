#include "entities.h"

#include "glyphs.h"
#include "sound.h"

#include <QStringList>

using namespace typeset;

void InitEntities() {
    static const char* const rows[8] = {
        "euro,81,sbquo,fnof,dbquo,hellip,dagger,Dagger,circ,permille,Scaron,lsaquo,OElig,8D,Zcaron,8F",
        "90,lsquo,rsquo,ldquo,rdquo,bull,minus,mdash,tilde,trade,scaron,rsaquo,oelig,9D,zcaron,Yuml",
        "A0,iexcl,cent,pound,curren,yen,brvbar,sect,uml,copy,ordf,laquo,not,shy,reg,macr",
        "deg,plusmn,sup2,sup3,acute,micro,para,middot,cedil,sup1,ordm,raquo,frac14,frac12,frac34,iquest",
        "Agrave,Aacute,Acirc,Atilde,Auml,Aring,AElig,Ccedil,Egrave,Eacute,Ecirc,Euml,Igrave,Iacute,Icirc,Iuml",
        "ETH,Ntilde,Ograve,Oacute,Ocirc,Otilde,Ouml,mult,Oslash,Ugrave,Uacute,Ucirc,Uuml,Yacute,THORN,szlig",
        "agrave,aacute,acirc,atilde,auml,aring,aelig,ccedil,egrave,eacute,ecirc,euml,igrave,iacute,icirc,iuml",
        "eth,ntilde,ograve,oacute,ocirc,otilde,ouml,divide,oslash,ugrave,uacute,ucirc,uuml,yacute,thorn,yuml",
    };
    for (int r = 8; r <= 15; ++r) {
        const QStringList items = QString::fromLatin1(rows[r - 8]).split(QLatin1Char(','));
        for (int k = 0; k < items.size() && k < 16; ++k)
            if (!items[k].isEmpty()) EntityName[16 * r + k] = items[k];
    }
}

void DecodeEntities(std::vector<uint8_t>& bytes, int32_t& count, const QString& textIn) {
    count = 0;
    bytes.clear();
    QString text = textIn;
    while (!text.isEmpty()) {
        if (text.startsWith(QLatin1Char('&'))) {
            const int semi = text.indexOf(QLatin1Char(';'));
            if (semi < 0) {
                text.remove(0, 1);
                continue;
            }
            const QString name = text.mid(1, semi - 1);
            text = text.mid(semi + 1);
            int code = 0;
            if (name == QLatin1String("nbsp")) code = 32;
            else if (name == QLatin1String("quot")) code = 34;
            else if (name == QLatin1String("amp")) code = 38;
            else
                for (int k = 128; k < 256; ++k)
                    if (EntityName[k] == name) {
                        code = k;
                        break;
                    }
            if (code) {
                bytes.push_back(uint8_t(code));
                ++count;
            } else {
                PlayDing();
            }
            continue;
        }
        int end = text.indexOf(QLatin1Char('&'));
        if (end < 0) end = int(text.size());
        for (int i = 0; i < end; ++i) {
            const ushort u = text.at(i).unicode();
            if (u >= 32 && u <= 127) {
                bytes.push_back(uint8_t(u));
                ++count;
            }
        }
        text = text.mid(end);
    }
}

void dsp_entity(Canvas& c, const QString& text, int32_t& x, int32_t& y) {
    if (text.isEmpty()) return;
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * size_t(text.size()));
    int32_t count = 0;
    DecodeEntities(bytes, count, text);
    gdiTextOut(c, x, y, QByteArray(reinterpret_cast<const char*>(bytes.data()), count), count);
}
