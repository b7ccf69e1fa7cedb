#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class QPainter;

// The pictures, shapes and voice clips carried inside the program. Names are matched
// without regard to letter case.
class AssetCatalogue {
public:
    enum class GlyphList { DigiNumber, DigiNumSmall, AmPm };

    // A null image when there is no bitmap of that name.
    static QImage bitmap(const QString& name);
    // The bitmap for that device pixel ratio, which paints at the 1x size: at 1 the 1x file
    // itself; at any other the 2x file, scaled smoothly when the ratio is not 2.
    static QImage bitmap(const QString& name, qreal ratio);
    // Likewise for a picture that stands at `at` (design pixels) in shape `cutBy`: at a ratio
    // other than 1 and 2, scaled with what lies outside the shape transparent, so that the colour
    // around her does not bleed into her edge.
    static QImage bitmap(const QString& name, qreal ratio, int cutBy, QPoint at);
    // A picture and its 1-bit mask as one image whose alpha is the mask (black: drawn).
    static QImage maskedImage(const QImage& picture, const QImage& mask);
    // The named bitmap masked by the bitmap of the same name with "Mask" appended.
    static QImage maskedBitmap(const QString& name);
    static QImage maskedBitmap(const QString& name, qreal ratio);
    // A shape region by number, or none when the block is missing or malformed.
    static std::optional<QRegion> region(int id);
    // The shape in device pixels for that ratio, from the 2x shape at any ratio but 1.
    static std::optional<QRegion> region(int id, qreal ratio);
    // The whole RIFF/WAVE image of a clip, valid for the program's lifetime; empty when none.
    static QByteArrayView clip(const QString& name);
    // Every clip's name, as spelled in the resources.
    static QStringList clipNames();

    static QSize glyphSize(GlyphList list);
    static int glyphCount(GlyphList list);
    // Draws only the glyph's own pixels, from the strip made for the painter's device pixel
    // ratio; an index outside the list draws nothing.
    static void drawGlyph(QPainter& painter, GlyphList list, int index, QPoint at);
};
