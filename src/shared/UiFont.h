#pragma once

#include <QFont>
#include <QStringList>

// The Japanese Gothic face every window uses, 12 pixels high, with metric-compatible
// stand-ins where the original face is not installed.
inline QFont uiFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic")});
    font.setPixelSize(12);
    return font;
}
