#include "clock/TitleSentences.h"

#include <QDate>
#include <QTime>

namespace {
// A year with a 29 February, so that every day of the clock has a date.
constexpr int kAnyLeapYear = 2000;

QString quoted(QString text) {
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}
} // namespace

TitleSentences::TitleSentences(const QLocale& locale)
    : TitleSentences(locale.amText(), locale.pmText(), locale) {}

TitleSentences::TitleSentences(QString morning, QString afternoon, const QLocale& locale)
    : locale_(locale), morning_(std::move(morning)), afternoon_(std::move(afternoon)),
      //: The character's words in the taskbar title; %1 is the date or the time.
      sentence_(tr("ミオラ 「%1です」")),
      //: The date in her words, as a QLocale date format: M the month's number, MMMM its
      //: name, d the day; text in single quotes stays as it is.
      dateFormat_(tr("M'月'd'日'")),
      //: The time in her words, as a QLocale time format: h the hour, mm the minute with a
      //: leading zero, m without; AP the morning or afternoon word, which puts h on the
      //: 12-hour clock; text in single quotes stays as it is.
      timeFormat_(tr("APh'時'm'分'")) {
    if (morning_.isEmpty())
        morning_ = QStringLiteral("am");
    if (afternoon_.isEmpty())
        afternoon_ = QStringLiteral("pm");
}

QString TitleSentences::dateSentence(const LocalTime& time) const {
    return sentence_.arg(locale_.toString(QDate(kAnyLeapYear, time.month, time.day), dateFormat_));
}

QString TitleSentences::timeSentence(const LocalTime& time) const {
    const int hour = time.hour % 24;
    // The morning and afternoon words go in as quoted text, so that they keep the locale's
    // letter case and the fallback words; the hour goes on the 12-hour clock by hand, where
    // 0 o'clock and noon both read 12.
    QString format;
    bool twelveHours = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < timeFormat_.size(); ++i) {
        if (timeFormat_[i] == QLatin1Char('\''))
            inQuotes = !inQuotes;
        if (!inQuotes && QStringView(timeFormat_).mid(i, 2) == QLatin1String("AP")) {
            format += quoted(hour < 12 ? morning_ : afternoon_);
            twelveHours = true;
            ++i;
            continue;
        }
        format += timeFormat_[i];
    }
    const int shownHour = !twelveHours ? hour : hour % 12 == 0 ? 12 : hour % 12;
    return sentence_.arg(locale_.toString(QTime(shownHour, time.minute), format));
}
