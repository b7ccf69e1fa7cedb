#pragma once

#include <QCoreApplication>
#include <QString>

// The program's name in every language.
inline const QString kProductName = QStringLiteral("Hourling");

// What the taskbar shows until the clock first tells the date: her name for the program in
// the language of the texts.
inline QString applicationTitle() {
    return QCoreApplication::translate("ApplicationTitle", "ミオラちゃん時計");
}
