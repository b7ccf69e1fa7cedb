#pragma once

#include <QString>

// What the taskbar shows until the clock first tells the date.
inline const QString kApplicationTitle = QStringLiteral("ミオラちゃん時計");
