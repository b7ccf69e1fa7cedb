#pragma once

#include "platform/WallClock.h"

#include <QLocale>
#include <QString>

// What the character says in the application title: the date, and the time on the
// 12-hour clock with the locale's morning and afternoon words.
class TitleSentences {
public:
    explicit TitleSentences(const QLocale& locale = QLocale::system());
    // Empty words stand for a locale that has none: "am" and "pm" then.
    TitleSentences(QString morning, QString afternoon);

    QString dateSentence(const LocalTime& time) const;
    QString timeSentence(const LocalTime& time) const;

    const QString& morning() const { return morning_; }
    const QString& afternoon() const { return afternoon_; }

private:
    QString morning_;
    QString afternoon_;
};
