#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

// Answers each modal dialog that opens, while it lives, by clicking the button with the
// given text (Cancel when there is none), and notes what the dialogs say.
class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(QString buttonText);

    std::vector<QString> titles;
    // For each of them, the texts of its labels and buttons.
    std::vector<QStringList> texts;

private:
    QString buttonText_;
    QTimer timer_;
};
