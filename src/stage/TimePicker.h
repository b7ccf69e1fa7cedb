#pragma once

#include <QString>
#include <QTime>
#include <QWidget>

class QTimeEdit;

// A time picker that makes its editor only when it is first shown. The editor lays its text
// out as soon as it is made, which loads every font the system has, and only the debug mode
// ever shows it: her window appears sooner without it.
class TimePicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString displayFormat READ displayFormat WRITE setDisplayFormat)
public:
    explicit TimePicker(QWidget* parent = nullptr);

    QString displayFormat() const { return format_; }
    void setDisplayFormat(const QString& format);
    QTime time() const { return time_; }
    void setTime(QTime time);
    // Null until the picker has been shown.
    QTimeEdit* editor() const { return editor_; }

signals:
    void timeChanged(QTime time);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString format_;
    QTime time_{0, 0};
    QTimeEdit* editor_ = nullptr;
};
