#include "stage/TimePicker.h"

#include <QResizeEvent>
#include <QTimeEdit>

TimePicker::TimePicker(QWidget* parent) : QWidget(parent) {}

void TimePicker::setDisplayFormat(const QString& format) {
    format_ = format;
    if (editor_)
        editor_->setDisplayFormat(format);
}

void TimePicker::setTime(QTime time) {
    if (editor_)
        editor_->setTime(time);
    else if (time.isValid() && time != time_)
        emit timeChanged(time_ = time);
}

void TimePicker::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (editor_)
        return;
    editor_ = new QTimeEdit(this);
    editor_->setDisplayFormat(format_);
    // The arrows would take half of its 65 pixels and cut the time; the keys and the wheel
    // still step it.
    editor_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    editor_->setTime(time_);
    editor_->setGeometry(rect());
    connect(editor_, &QTimeEdit::timeChanged, this, [this](QTime time) {
        time_ = time;
        emit timeChanged(time);
    });
    editor_->show();
}

void TimePicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (editor_)
        editor_->setGeometry(rect());
}
