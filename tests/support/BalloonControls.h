#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The middle of the balloon's close button, from the balloon's top-left, where a person
// clicks it on the screen.
inline constexpr QPoint kBalloonButtonCentre(184 + 23, 107 + 9);

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
