#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// The part of a text that a word-wrapped label of a fixed size shows. A text that does not
// fit ends its last whole line with "…", so that the reader knows there is more.
QString fittedText(const QString& text, const QFont& font, QSize box);
