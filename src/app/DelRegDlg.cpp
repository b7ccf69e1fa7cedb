#include "app/DelRegDlg.h"

#include "shared/UiFont.h"
#include "ui_DelRegDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QStyle>

DelRegDlg::DelRegDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint),
      ui_(std::make_unique<Ui::DelRegDlg>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    setFixedSize(464, 83);
    ui_->PaintBox1->onPaint = [this](QPainter& painter) {
        const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this);
        painter.drawPixmap(0, 0, icon.pixmap(32, 32));
    };
    // The owner is not on screen yet at start-up; centre on the screen instead.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

DelRegDlg::~DelRegDlg() = default;

bool DelRegDlg::askToSave(QWidget* owner, const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), question,
                    QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.setFont(uiFont());
    // In the words of the reset dialog, which asked the question before.
    box.button(QMessageBox::Cancel)->setText(tr("キャンセル"));
    // Its buttons as the reset question has them, and a size of its own that no window
    // manager offers to maximise.
    constexpr QSize kQuestionButtonSize(88, 21);
    for (QAbstractButton* button : box.buttons()) {
        button->setFixedSize(kQuestionButtonSize);
        button->setIcon(QIcon());
    }
    box.layout()->setSizeConstraint(QLayout::SetFixedSize);
    return box.exec() == QMessageBox::Ok;
}

void DelRegDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QApplication::beep();
}
