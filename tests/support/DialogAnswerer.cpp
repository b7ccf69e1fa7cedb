#include "support/DialogAnswerer.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

DialogAnswerer::DialogAnswerer(QString buttonText) : buttonText_(std::move(buttonText)) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        titles.push_back(modal->windowTitle());
        QStringList said;
        for (const QLabel* label : modal->findChildren<QLabel*>())
            said << label->text();
        for (const QAbstractButton* button : modal->findChildren<QAbstractButton*>())
            said << button->text();
        texts.push_back(said);
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text().remove(QLatin1Char('&')) == buttonText_) {
                button->click();
                return;
            }
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    timer_.start();
}
