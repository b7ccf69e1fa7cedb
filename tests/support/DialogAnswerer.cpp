#include "support/DialogAnswerer.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>

DialogAnswerer::DialogAnswerer(QString buttonText) : buttonText_(std::move(buttonText)) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        titles.push_back(modal->windowTitle());
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
