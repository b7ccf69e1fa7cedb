#include "app/MainStage.h"

#include "app/DelRegDlg.h"
#include "app/SettingsStore.h"
#include "app/UiFont.h"
#include "clock/Dial.h"
#include "clock/PaintRegionRecorder.h"
#include "clock/RepaintTrace.h"
#include "clock/StaleDialArea.h"
#include "clock/TClocker.h"
#include "clock/UiClockHost.h"
#include "clock/UiHandOver.h"
#include "platform/SecondWaiter.h"
#include "platform/WallClock.h"
#include "platform/KeyState.h"
#include "stage/AboutBox.h"
#include "stage/AssetCatalogue.h"
#include "stage/ScreenSaverHook.h"
#include "stage/StackingStyle.h"
#include "stage/StageDrag.h"
#include "stage/StagePopupMenu.h"
#include "stage/StageShape.h"
#include "ui_MainStage.h"

#include <QActionGroup>
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
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("MainIcon"));
    if (!icon.isNull())
        setWindowIcon(QPixmap::fromImage(icon));
    wirePopupMenu();
    new StageDrag(*this, [this] { UserTouched(); }, StageDrag::x11Pointer(*this));
    screenSaverHook_ = ScreenSaverHook::install([this](bool on) { screenSaverChanged(on); });
    FormCreate();
}

// The clock thread calls into this window until it has ended.
MainStage::~MainStage() { stopClocker(); }

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
    // 3 to 5. The dial's geometry, pictures and digit layout.
    createDial();
    // 6. The item of the stored priority level; none when the level is not one of the six.
    StagePopupMenu::checkItemWithTag(*PopupMenu1->threadPriorityGroup, settings_.ThreadPrio);
    // 7. The clock thread, at its stored level; it starts at the first show.
    createClocker();
    // 8. Check marks of the stored display and stacking.
    PopupMenu1->MIDigiAna->setChecked(!settings_.AnaDigi);
    PopupMenu1->MIAmPm->setChecked(settings_.DigiAMPM);
    PopupMenu1->StayOnTop1->setChecked(settings_.StayOnTop);
    // 9. The face without a time until the clock thread gives it one.
    ComposeDial(-1, -1);
    // 10. The patience item that matches.
    StagePopupMenu::checkItemWithTag(*PopupMenu1->gamanGroup, settings_.samiLim);
    // 11. Not placed yet.
    Tag = 0;
    // 12. The stacking; the balloon takes the same style whenever it shows.
    applyStackingStyle(*this, settings_.StayOnTop);
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
    // A re-created native window has lost its outline, so it is cut again at every show.
    WindowRegion = composeWindowRegion(LoadRegion(1), LoadRegion(2));
    shapeStageWindow(*this, ui->Image1->pixmap().size(), WindowRegion);
    // The clock starts once settings, pictures and shape are in place, and only once.
    if (Clocker && Clocker->LastHour == TClocker::kNotSet)
        Clocker->Resume();
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
    // The interface is Japanese whatever the locale, like the reset dialog.
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    return box.exec() == QMessageBox::Ok;
}

void MainStage::wirePopupMenu() {
    PopupMenu1 = new StagePopupMenu(this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { PopupMenu1->popup(mapToGlobal(at)); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &MainStage::PopupMenu1Popup);
    // Queued so that each command runs once the menu has closed, as the stacking change
    // re-creates the window that owns the menu.
    const auto queued = Qt::QueuedConnection;
    connect(PopupMenu1->About1, &QAction::triggered, this, &MainStage::About1Click, queued);
    connect(PopupMenu1->MIDebugMode, &QAction::triggered, this, &MainStage::MIDebugModeClick,
            queued);
    connect(PopupMenu1->threadPriorityGroup, &QActionGroup::triggered, this,
            &MainStage::MIThreadPrio6Click, queued);
    connect(PopupMenu1->StayOnTop1, &QAction::triggered, this, &MainStage::StayOnTop1Click, queued);
    connect(PopupMenu1->MIDigiAna, &QAction::triggered, this, &MainStage::MIDigiAnaClick, queued);
    connect(PopupMenu1->MIAmPm, &QAction::triggered, this, &MainStage::MIAmPmClick, queued);
    connect(PopupMenu1->MIMemorialSet, &QAction::triggered, this, &MainStage::MIMemorialSetClick,
            queued);
    connect(PopupMenu1->MIScheduleSet, &QAction::triggered, this, &MainStage::MIScheduleSetClick,
            queued);
    connect(
        PopupMenu1->gamanGroup, &QActionGroup::triggered, this,
        [this](QAction* item) { MIGaman5Click(StagePopupMenu::tagOf(*item)); }, queued);
    connect(PopupMenu1->X1, &QAction::triggered, this, &MainStage::X1Click, queued);
}

void MainStage::PopupMenu1Popup() {
    PopupMenu1->revealHiddenEntries(services_.keys);
    hideBalloonIfShowing();
    UserTouched();
}

void MainStage::screenSaverChanged(bool on) {
    // Nobody sees the dial while the screen is saved; its first paint after the saver gives
    // the clock thread its chosen level back.
    ui->MojibanBox->setUpdatesEnabled(!on);
    if (on)
        lowerClockPriorityForScreenSaver();
}

void MainStage::UserTouched() {
    // The loneliness wait restarts here and her normal face comes back.
}

void MainStage::hideBalloonIfShowing() {
    // The speech balloon closes here when it shows.
}

void MainStage::About1Click() {
    AboutBox box(this);
    box.exec();
}

void MainStage::MIDebugModeClick() {
    // The item has already changed its own check mark.
    const bool on = PopupMenu1->MIDebugMode->isChecked();
    for (QWidget* control :
         {static_cast<QWidget*>(ui->DateTimePicker1), static_cast<QWidget*>(ui->MessageTest),
          static_cast<QWidget*>(ui->FaceTest), static_cast<QWidget*>(ui->NakuTest),
          static_cast<QWidget*>(ui->RandomFace1)}) {
        control->setVisible(on);
        control->setEnabled(on);
    }
}

void MainStage::MIThreadPrio6Click(QAction* item) {
    settings_.ThreadPrio = StagePopupMenu::tagOf(*item);
    item->setChecked(true);
    setClockPriority(settings_.ThreadPrio);
}

void MainStage::StayOnTop1Click() {
    settings_.StayOnTop = !settings_.StayOnTop;
    PopupMenu1->StayOnTop1->setChecked(settings_.StayOnTop);
    // The balloon takes the same style each time it shows.
    applyStackingStyle(*this, settings_.StayOnTop);
}

void MainStage::MIMemorialSetClick() {
    // The anniversary dialog opens here.
}

void MainStage::MIScheduleSetClick() {
    // The schedule dialog opens here.
}

void MainStage::MIGaman5Click(int seconds) {
    settings_.samiLim = seconds;
    StagePopupMenu::checkItemWithTag(*PopupMenu1->gamanGroup, seconds);
}

void MainStage::X1Click() {
    close();
}

void MainStage::createDial() {
    using GlyphList = AssetCatalogue::GlyphList;
    auto masked = [](const char* picture) {
        const QString name = QString::fromLatin1(picture);
        return AssetCatalogue::maskedImage(AssetCatalogue::bitmap(name),
                                           AssetCatalogue::bitmap(name + QStringLiteral("Mask")));
    };
    const QRect box = ui->MojibanBox->geometry();
    const DigitLayout layout = DigitLayout::compute(
        AssetCatalogue::glyphSize(GlyphList::DigiNumber),
        AssetCatalogue::glyphSize(GlyphList::DigiNumSmall),
        AssetCatalogue::glyphSize(GlyphList::AmPm), QPoint(box.width() / 2, box.height() / 2));
    dial_ = std::make_unique<Dial>(
        box,
        Dial::Pictures{ui->Image1->pixmap().toImage(), masked("Mojiban"), masked("MojibanDigi")},
        AssetCatalogue::drawGlyph, layout);
    ui->MojibanBox->onPaint = [this](QPainter& painter) { MojibanBoxPaint(painter); };
    // Each paint covers the whole box, so the stage picture beneath is not painted again
    // every second.
    ui->MojibanBox->setAttribute(Qt::WA_OpaquePaintEvent);
    staleDial_ = std::make_unique<StaleDialArea>(QRect(QPoint(0, 0), box.size()));
    dialPaintRegion_ = new PaintRegionRecorder(ui->MojibanBox);
    ui->MojibanBox->installEventFilter(dialPaintRegion_);
    connect(ui->DateTimePicker1, &QTimeEdit::timeChanged, this, &MainStage::DateTimePicker1Change);
}

void MainStage::createClocker() {
    clockHandOver_ = std::make_unique<UiHandOver>(this);
    secondWaiter_ = std::make_unique<SystemSecondWaiter>();
    clockHost_ = std::make_unique<UiClockHost>(
        *clockHandOver_, this,
        UiClockHost::Targets{
            [this](int hour, int minute) { ComposeDial(hour, minute); },
            [this](int second) { ShowDial(second); },
            [this](int month, int day) { CheckKinenbi(month, day); },
            [this](int month, int day, int hour, int minute) {
                CheckYotei(month, day, hour, minute);
            },
            // The stage window's title is the application's, which the taskbar shows.
            [this](const QString& text) { setWindowTitle(text); }});
    Clocker = std::make_unique<TClocker>(*clockHost_, services_.clock, *secondWaiter_);
    Clocker->setPriority(settings_.ThreadPrio);
}

void MainStage::stopClocker() {
    if (!Clocker)
        return;
    Clocker->Terminate();
    // It may be waiting for this thread to run its dial call.
    clockHandOver_->cancel();
    Clocker->WaitFor();
}

DialMode MainStage::dialMode() const { return {settings_.AnaDigi, settings_.DigiAMPM}; }

void MainStage::ComposeDial(int hour, int minute) {
    dial_->ComposeDial(hour, minute, dialMode());
    staleDial_->imageRebuilt();
    if (FaceBitmap.isNull())
        TryRandomSmile();
}

void MainStage::ShowDial(int second) {
    showingSecond_ = second;
    ui->MojibanBox->repaint(staleDial_->refreshFor(dial_->secondsArea(second, dialMode())));
    showingSecond_ = -1;
}

void MainStage::MojibanBoxPaint(QPainter& painter) {
    const bool perSecond = showingSecond_ >= 0;
    const int second = perSecond ? showingSecond_ : services_.clock.now().second;
    const DialMode mode = dialMode();
    const QImage screen = dial_->ShowDial(second, mode);
    // In bands: a larger piece under the window's shaped clip would have the raster
    // engine wake its helper threads, every second, for a 128 x 128 copy.
    constexpr int kBand = 16;
    for (int top = 0; top < screen.height(); top += kBand)
        painter.drawImage(QPoint(0, top), screen, QRect(0, top, screen.width(), kBand));
    staleDial_->painted(dialPaintRegion_->region(), dial_->secondsArea(second, mode));
    if (perSecond)
        RepaintTrace::mark();
    if (PrioLowered) {
        setClockPriority(settings_.ThreadPrio);
        PrioLowered = false;
    }
}

QImage MainStage::dialScreen() const {
    return dial_->ShowDial(services_.clock.now().second, dialMode());
}

void MainStage::MIDigiAnaClick() {
    settings_.AnaDigi = !settings_.AnaDigi;
    PopupMenu1->MIDigiAna->setChecked(!settings_.AnaDigi);
    const LocalTime now = services_.clock.now();
    ComposeDial(now.hour, now.minute);
    ShowDial(now.second);
}

void MainStage::MIAmPmClick() {
    settings_.DigiAMPM = !settings_.DigiAMPM;
    PopupMenu1->MIAmPm->setChecked(settings_.DigiAMPM);
    const LocalTime now = services_.clock.now();
    ComposeDial(now.hour, now.minute);
    ShowDial(now.second);
}

void MainStage::DateTimePicker1Change(QTime time) {
    // Shows with the next second's refresh, until the clock's next rebuild.
    ComposeDial(time.hour(), time.minute());
}

void MainStage::setClockPriority(int level) {
    if (Clocker)
        Clocker->setPriority(level);
}

void MainStage::lowerClockPriorityForScreenSaver() {
    setClockPriority(0);
    PrioLowered = true;
}

void MainStage::CheckKinenbi(int, int) {
    // The anniversary check goes here; it runs on the clock thread.
}

void MainStage::CheckYotei(int, int, int, int) {
    // The schedule check goes here; it runs on the clock thread.
}

bool MainStage::TryRandomSmile() {
    // The faces fill in the chance of a smile.
    return false;
}
