#include "clock/TitleSentences.h"
#include "stage/UiLanguage.h"
#include "support/fixtures/TestApplication.h"

#include <gtest/gtest.h>

namespace {
LocalTime at(int month, int day, int hour, int minute) {
    LocalTime t;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}
} // namespace

TEST(TitleSentences, JapaneseSentences) {
    const TitleSentences japanese(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(japanese.dateSentence(at(3, 5, 9, 0)), QStringLiteral("ミオラ 「3月5日です」"));
    EXPECT_EQ(japanese.dateSentence(at(12, 31, 9, 0)), QStringLiteral("ミオラ 「12月31日です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 15, 5)), QStringLiteral("ミオラ 「午後3時5分です」"));
    // Noon and midnight hours both read 12, with their own designator.
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 12, 0)), QStringLiteral("ミオラ 「午後12時0分です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 12, 59)),
              QStringLiteral("ミオラ 「午後12時59分です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 0, 0)), QStringLiteral("ミオラ 「午前12時0分です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 0, 45)),
              QStringLiteral("ミオラ 「午前12時45分です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 11, 59)),
              QStringLiteral("ミオラ 「午前11時59分です」"));
    EXPECT_EQ(japanese.timeSentence(at(1, 1, 23, 1)), QStringLiteral("ミオラ 「午後11時1分です」"));
}

TEST(TitleSentences, DesignatorsFollowTheLocale) {
    const TitleSentences english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(english.timeSentence(at(1, 1, 0, 30)), QStringLiteral("ミオラ 「AM12時30分です」"));
    EXPECT_EQ(english.timeSentence(at(1, 1, 13, 30)), QStringLiteral("ミオラ 「PM1時30分です」"));
}

TEST(TitleSentences, LowerCaseWordsWhereTheLocaleHasNone) {
    const TitleSentences none{QString(), QString()};
    EXPECT_EQ(none.timeSentence(at(1, 1, 0, 5)), QStringLiteral("ミオラ 「am12時5分です」"));
    EXPECT_EQ(none.timeSentence(at(1, 1, 12, 5)), QStringLiteral("ミオラ 「pm12時5分です」"));
}

TEST(TitleSentences, EnglishSentencesMadeByTheLocale) {
    testApplication();
    const UiLanguage english({QStringLiteral("en-US")});
    const TitleSentences us(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.dateSentence(at(12, 8, 9, 0)), QStringLiteral("Miora: “It's December 8”"));
    EXPECT_EQ(us.dateSentence(at(2, 29, 9, 0)), QStringLiteral("Miora: “It's February 29”"));
    EXPECT_EQ(us.timeSentence(at(1, 1, 17, 21)), QStringLiteral("Miora: “It's 5:21 PM”"));
    EXPECT_EQ(us.timeSentence(at(1, 1, 0, 5)), QStringLiteral("Miora: “It's 12:05 AM”"));
    EXPECT_EQ(us.timeSentence(at(1, 1, 12, 0)), QStringLiteral("Miora: “It's 12:00 PM”"));
    // The locale's own words and their case.
    const TitleSentences british(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(british.timeSentence(at(1, 1, 9, 30)), QStringLiteral("Miora: “It's 9:30 am”"));
}
