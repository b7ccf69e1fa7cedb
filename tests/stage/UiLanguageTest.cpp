#include "stage/UiLanguage.h"
#include "support/fixtures/TestApplication.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

struct Session {
    QStringList languages;
    const char* shown;
};

// The session's languages in Qt's order, from LANGUAGE or else LC_ALL, LC_MESSAGES, LANG.
const Session kSessions[] = {
    {{"ja-JP", "ja"}, "ja"},
    {{"ja"}, "ja"},
    {{"en-US", "en"}, "en"},
    {{"en-GB"}, "en"},
    // No translation for the first: the next one the session names, or English.
    {{"de-DE", "de"}, "en"},
    {{"de", "ja"}, "ja"},
    {{"fr", "en"}, "en"},
    {{"C"}, "en"},
    {{}, "en"},
};

TEST(UiLanguage, JapaneseForAJapaneseSessionEnglishOtherwise) {
    testApplication();
    for (const Session& session : kSessions) {
        const UiLanguage language(session.languages);
        EXPECT_EQ(language.name(), QLatin1String(session.shown))
            << session.languages.join(':').toStdString();
        EXPECT_EQ(QCoreApplication::translate("StagePopupMenu", "終了(&X)") == "E&xit",
                  language.name() == "en");
    }
    EXPECT_EQ(QCoreApplication::translate("StagePopupMenu", "終了(&X)"), "終了(&X)");
}

TEST(UiLanguage, DatesFollowTheTextsLanguageWhileItLasts) {
    testApplication();
    const QLocale before;
    {
        const UiLanguage english({QStringLiteral("de-DE")});
        EXPECT_EQ(QLocale().language(), QLocale::English);
    }
    EXPECT_EQ(QLocale(), before);
}

} // namespace
