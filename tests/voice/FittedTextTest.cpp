// What the balloon's fixed message label shows of a text that may not fit it.
#include "voice/FittedText.h"
#include "shared/UiFont.h"
#include "support/fixtures/TestApplication.h"

#include <QFontMetricsF>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

const QSize kLabel(226, 64);

TEST(FittedText, ATextThatFitsIsShownAsItIsAndOneThatDoesNotEndsItsLastLineWithTheMark) {
    testApplication();
    const QFont font = uiFont();
    const QString many = QStringLiteral("一二三四五六七八九十").repeated(20);
    struct Case {
        const char* name;
        QString text;
        bool fits;
    } cases[] = {
        {"short", QStringLiteral("記念日です"), true},
        {"lines that fit", QStringLiteral("一\n二\n三"), true},
        {"too many lines", QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8"), false},
        {"one long paragraph", many, false},
        {"long words", QStringLiteral("Lunch with Aki at the station ").repeated(8), false},
    };
    const qreal lineHeight = QFontMetricsF(font).height();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString shown = fittedText(c.text, font, kLabel);
        if (c.fits) {
            EXPECT_EQ(shown, c.text);
            continue;
        }
        ASSERT_TRUE(shown.endsWith(QStringLiteral("…"))) << shown.toStdString();
        const QStringList lines = shown.split(QLatin1Char('\n'));
        EXPECT_LE(lines.size() * lineHeight, kLabel.height());
        for (const QString& line : lines)
            EXPECT_LE(QFontMetricsF(font).horizontalAdvance(line), kLabel.width());
        // What shows is the text's own beginning.
        const QString start = lines.first().chopped(lines.size() == 1 ? 1 : 0);
        EXPECT_TRUE(c.text.startsWith(start.trimmed())) << shown.toStdString();
    }
}

} // namespace
