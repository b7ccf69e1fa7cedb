#include "stage/PaintBox.h"

#include <QPainter>

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void PaintBox::paintEvent(QPaintEvent*) {
    if (!onPaint)
        return;
    QPainter painter(this);
    onPaint(painter);
}
