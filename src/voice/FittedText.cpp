#include "voice/FittedText.h"

#include <QFontMetricsF>
#include <QTextLayout>

namespace {
const QString kMore = QStringLiteral("…");

// A wrapped line keeps the space it broke at, which the label would wrap again.
QString withoutTrailingSpaces(QString line) {
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line;
}

// The line with the mark at its end, characters dropped from the end until both fit.
QString endedWithMark(QString line, const QFontMetricsF& metrics, qreal width) {
    while (!line.isEmpty() && metrics.horizontalAdvance(line + kMore) > width)
        line.chop(line.size() > 1 && line.at(line.size() - 1).isLowSurrogate() ? 2 : 1);
    return line + kMore;
}
} // namespace

QString fittedText(const QString& text, const QFont& font, QSize box) {
    const QFontMetricsF metrics(font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList shown;
    qreal height = 0;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (int p = 0; p < paragraphs.size(); ++p) {
        QString paragraph = paragraphs[p];
        paragraph.remove(QLatin1Char('\r'));
        QTextLayout layout(paragraph, font);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            if (height + line.height() > box.height()) {
                layout.endLayout();
                if (shown.isEmpty())
                    return QString();
                shown.last() = endedWithMark(shown.last(), metrics, box.width());
                return shown.join(QLatin1Char('\n'));
            }
            height += line.height();
            shown << withoutTrailingSpaces(paragraph.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    return text;
}
