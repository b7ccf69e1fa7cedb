#pragma once

#include "platform/WallClock.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// What the character says in the application title: the date, and the time on the
// 12-hour clock with the locale's morning and afternoon words, in the language of the texts.
class TitleSentences {
    Q_DECLARE_TR_FUNCTIONS(TitleSentences)
public:
    explicit TitleSentences(const QLocale& locale = QLocale());
    // Empty words stand for a locale that has none: "am" and "pm" then.
    TitleSentences(QString morning, QString afternoon, const QLocale& locale = QLocale());

    QString dateSentence(const LocalTime& time) const;
    QString timeSentence(const LocalTime& time) const;

    const QString& morning() const { return morning_; }
    const QString& afternoon() const { return afternoon_; }

private:
    QLocale locale_;
    QString morning_;
    QString afternoon_;
    // Read once, as the clock thread asks every ten seconds.
    QString sentence_;
    QString dateFormat_;
    QString timeFormat_;
};
