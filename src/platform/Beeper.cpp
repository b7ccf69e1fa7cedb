#include "platform/Beeper.h"

#include <QApplication>

void QtBeeper::beep() {
    QApplication::beep();
}
