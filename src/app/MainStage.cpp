#include "app/MainStage.h"

#include "app/DelRegDlg.h"
#include "app/SettingsStore.h"
#include "app/UiFont.h"
#include "platform/KeyState.h"
#include "stage/AssetCatalogue.h"
#include "ui_MainStage.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QShowEvent>

MainStage::MainStage(StageServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services),
      ui(std::make_unique<Ui::MainStage>()) {
    ui->setupUi(this);
    setFont(uiFont());
    setAttribute(Qt::WA_NoSystemBackground);
    for (QWidget* debug : {static_cast<QWidget*>(ui->DateTimePicker1),
                           static_cast<QWidget*>(ui->MessageTest), static_cast<QWidget*>(ui->FaceTest),
                           static_cast<QWidget*>(ui->NakuTest), static_cast<QWidget*>(ui->RandomFace1),
                           static_cast<QWidget*>(ui->DefaultStrings),
                           static_cast<QWidget*>(ui->DialogStrList)}) {
        debug->hide();
        debug->setEnabled(false);
    }
    ui->Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QImage stage = AssetCatalogue::bitmap(QStringLiteral("Stage"));
    if (stage.isNull()) {
        // Without its picture she is still a clock: a white stand-in of the right size.
        stage = QImage(158, 452, QImage::Format_RGB32);
        stage.fill(Qt::white);
    }
    ui->Image1->setPixmap(QPixmap::fromImage(stage));
    FormCreate();
}

MainStage::~MainStage() = default;

void MainStage::FormCreate() {
    // 1. The reset the user asks for by holding Shift and Ctrl at start.
    if (services_.keys.isDown(KeyState::Key::Shift) &&
        services_.keys.isDown(KeyState::Key::Control)) {
        if (askResetAtStart())
            RegistryDeleted = ResetStoredSettings(services_.registry);
    }
    // 2. After a reset the key is left deleted and the defaults stay in force.
    if (!RegistryDeleted)
        LoadSettings(services_.registry, settings_);
    // 11. Not placed yet.
    Tag = 0;
}

bool MainStage::askResetAtStart() {
    DelRegDlg dialog(this);
    return dialog.exec() == QDialog::Accepted;
}

void MainStage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from the taskbar is not a show of the window's own.
    if (!event->spontaneous())
        FormShow();
}

void MainStage::FormShow() {
    if (Tag == 0)
        move(settings_.FormLeft, settings_.FormTop);
    Tag = 1;
    // The stage picture's size until the shape of the window is known.
    resize(158, 452);
}

void MainStage::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    // The close is never refused.
    event->accept();
    emit closed();
}

void MainStage::FormCloseQuery() {
    // Window close, signals and the session's end may all arrive; the first one saves.
    if (closeQueryDone_)
        return;
    closeQueryDone_ = true;
    if (RegistryDeleted && !askSaveAfterReset())
        return;
    SaveSettings(services_.registry, settings_, pos());
}

bool MainStage::askSaveAfterReset() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), ui->DialogStrList->item(1)->text(),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setFont(uiFont());
    return box.exec() == QMessageBox::Ok;
}
