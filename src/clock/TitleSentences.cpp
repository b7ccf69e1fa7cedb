#include "clock/TitleSentences.h"

namespace {
const QString kSpeaker = QStringLiteral("ミオラ 「");
const QString kEnd = QStringLiteral("です」");
} // namespace

TitleSentences::TitleSentences(const QLocale& locale)
    : TitleSentences(locale.amText(), locale.pmText()) {}

TitleSentences::TitleSentences(QString morning, QString afternoon)
    : morning_(std::move(morning)), afternoon_(std::move(afternoon)) {
    if (morning_.isEmpty())
        morning_ = QStringLiteral("am");
    if (afternoon_.isEmpty())
        afternoon_ = QStringLiteral("pm");
}

QString TitleSentences::dateSentence(const LocalTime& time) const {
    return kSpeaker + QString::number(time.month) + QStringLiteral("月") +
           QString::number(time.day) + QStringLiteral("日") + kEnd;
}

QString TitleSentences::timeSentence(const LocalTime& time) const {
    const int hour = time.hour % 24;
    // 0 o'clock and noon both read 12.
    const int onTwelveHourClock = hour % 12 == 0 ? 12 : hour % 12;
    return kSpeaker + (hour < 12 ? morning_ : afternoon_) + QString::number(onTwelveHourClock) +
           QStringLiteral("時") + QString::number(time.minute) + QStringLiteral("分") + kEnd;
}
