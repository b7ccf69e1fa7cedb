#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The balloon's own controls, found by their names as a person finds them on the screen.
inline QLabel& messageArea(QWidget& balloon) {
    return *balloon.findChild<QLabel*>(QStringLiteral("MessageArea"));
}
inline QLabel& timeLabel(QWidget& balloon) {
    return *balloon.findChild<QLabel*>(QStringLiteral("TimeLabel"));
}
inline QPushButton& closeButton(QWidget& balloon) {
    return *balloon.findChild<QPushButton*>(QStringLiteral("Button1"));
}
