#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

// Answers each modal dialog that opens, while it lives, by clicking the button with the
// given text (Cancel when there is none), and notes the dialogs' titles.
class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(QString buttonText);

    std::vector<QString> titles;

private:
    QString buttonText_;
    QTimer timer_;
};
