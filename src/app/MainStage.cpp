#include "app/MainStage.h"

#include "app/DelRegDlg.h"
#include "app/SettingsStore.h"
#include "character/Faces.h"
#include "character/Loneliness.h"
#include "clock/DialBox.h"
#include "clock/StageClock.h"
#include "events/SlotDialog.h"
#include "events/StageEvents.h"
#include "platform/KeyState.h"
#include "platform/RandomSource.h"
#include "platform/UiPoster.h"
#include "shared/UiFont.h"
#include "stage/AboutBox.h"
#include "stage/AssetCatalogue.h"
#include "stage/ScreenSaverHook.h"
#include "stage/StackingStyle.h"
#include "stage/StageDrag.h"
#include "stage/StagePopupMenu.h"
#include "stage/StageShape.h"
#include "ui_MainStage.h"
#include "voice/MinimizeWatch.h"
#include "voice/TMessageBalloon.h"
#include "voice/VoicePlayer.h"
#include "voice/WindowBalloonStage.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMessageBox>
#include <QShowEvent>

MainStage::MainStage(StageServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services),
      ui_(std::make_unique<Ui::MainStage>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    setAttribute(Qt::WA_NoSystemBackground);
    // Hidden lists of texts, and the controls that only the debug mode shows.
    for (QWidget* hidden :
         debugControls() + QList<QWidget*>{ui_->DefaultStrings, ui_->DialogStrList}) {
        hidden->hide();
        hidden->setEnabled(false);
    }
    ui_->Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QImage stage = AssetCatalogue::bitmap(QStringLiteral("Stage"));
    if (stage.isNull()) {
        // Without its picture she is still a clock: a white stand-in of the right size.
        stage = QImage(158, 452, QImage::Format_RGB32);
        stage.fill(Qt::white);
    }
    ui_->Image1->setPixmap(QPixmap::fromImage(stage));
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("MainIcon"));
    if (!icon.isNull())
        setWindowIcon(QPixmap::fromImage(icon));
    wirePopupMenu();
    new StageDrag(
        *this, [this] { UserTouched(); }, StageDrag::x11Pointer(*this));
    screenSaverHook_ = ScreenSaverHook::install([this](bool on) { screenSaverChanged(on); });
    minimizeWatch_ = std::make_unique<MinimizeWatch>(*this);
    voice_ = std::make_unique<VoicePlayer>(services_.sound);
    balloonStage_ = std::make_unique<WindowBalloonStage>(
        *this, ui_->MouthArea->geometry(), *minimizeWatch_, [this] { StopVoice(); },
        [this] { return settings_.StayOnTop; });
    services_.random.seedFromClock();
    createCharacter();
    createEvents();
    FormCreate();
}

// The clock thread calls into this window until it has ended.
MainStage::~MainStage() {
    if (clock_)
        clock_->stop();
}

QList<QWidget*> MainStage::debugControls() const {
    return {ui_->DateTimePicker1, ui_->MessageTest, ui_->FaceTest, ui_->NakuTest, ui_->RandomFace1};
}

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
    // 6 and 7. The item of the stored priority level, and the clock thread at that level;
    // it starts at the first show.
    createClock();
    // 8. Check marks of the stored display and stacking.
    dial_->syncMenu();
    PopupMenu1->StayOnTop1->setChecked(settings_.StayOnTop);
    // 9. The face without a time until the clock thread gives it one.
    ComposeDial(-1, -1);
    // 10. The first wait, and the patience item that matches.
    ArmSamishii(true);
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
    shapeStageWindow(*this, ui_->Image1->pixmap().size(), WindowRegion);
    // The clock starts once settings, pictures and shape are in place, and only once.
    clock_->resumeOnce();
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
    saveSettings();
}

void MainStage::closeAtExit() {
    clock_->stop();
    if (closeQueryDone_ || RegistryDeleted)
        return;
    closeQueryDone_ = true;
    saveSettings();
}

void MainStage::saveSettings() {
    // The clock thread may still be writing lastYotei.
    if (!SaveSettings(services_.registry, events_->settingsCopy(), pos()))
        qWarning("hourling: her settings could not be saved; the settings file keeps what it "
                 "held before");
}

bool MainStage::askSaveAfterReset() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), ui_->DialogStrList->item(1)->text(),
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
    connect(PopupMenu1->gamanGroup, &QActionGroup::triggered, this, &MainStage::MIGaman5Click,
            queued);
    connect(PopupMenu1->X1, &QAction::triggered, this, &MainStage::X1Click, queued);
}

void MainStage::PopupMenu1Popup() {
    PopupMenu1->revealHiddenEntries(services_.keys);
    hideBalloonIfShowing();
    UserTouched();
}

void MainStage::screenSaverChanged(bool on) {
    // The dial's first paint after the saver gives the clock thread its chosen level back.
    dial_->setScreenSaved(on);
    if (on)
        clock_->lowerForScreenSaver();
}

void MainStage::UserTouched() {
    loneliness_->UserTouched();
}

void MainStage::hideBalloonIfShowing() {
    if (MessageBalloon && MessageBalloon->isVisible())
        MessageBalloon->hide();
}

void MainStage::About1Click() {
    AboutBox box(this);
    box.exec();
}

void MainStage::MIDebugModeClick() {
    // The item has already changed its own check mark.
    const bool on = PopupMenu1->MIDebugMode->isChecked();
    for (QWidget* control : debugControls()) {
        control->setVisible(on);
        control->setEnabled(on);
    }
}

void MainStage::MIThreadPrio6Click(QAction* item) {
    clock_->MIThreadPrio6Click(item);
}

void MainStage::StayOnTop1Click() {
    settings_.StayOnTop = !settings_.StayOnTop;
    PopupMenu1->StayOnTop1->setChecked(settings_.StayOnTop);
    applyStackingStyle(*this, settings_.StayOnTop);
    if (MessageBalloon)
        MessageBalloon->applyStacking(settings_.StayOnTop);
}

void MainStage::MIMemorialSetClick() {
    events_->MIMemorialSetClick(this);
}

void MainStage::MIScheduleSetClick() {
    events_->MIScheduleSetClick(this);
}

void MainStage::MIGaman5Click(QAction* item) {
    loneliness_->MIGaman5Click(*item);
}

void MainStage::X1Click() {
    close();
}

void MainStage::createEvents() {
    uiPoster_ = std::make_unique<QtUiPoster>();
    // The balloon is handed over after her window is made, and goes before it.
    events_ = std::make_unique<StageEvents>(
        settings_,
        std::array<QString, 2>{ui_->DefaultStrings->item(0)->text(),
                               ui_->DefaultStrings->item(1)->text()},
        services_.timers, *uiPoster_,
        StageEvents::Hooks{[this] { return MessageBalloon && MessageBalloon->isVisible(); },
                           [this](bool stayOnTop) {
                               if (MessageBalloon)
                                   MessageBalloon->applyStacking(stayOnTop);
                           },
                           [this](const QString& text) {
                               if (MessageBalloon)
                                   MessageBalloon->MessageArea().setText(text);
                           },
                           [this](const QString& text) {
                               if (MessageBalloon)
                                   MessageBalloon->TimeLabel().setText(text);
                           },
                           [this] {
                               if (MessageBalloon)
                                   MessageBalloon->PlaceBalloon(true);
                           },
                           [this](const QString& clip) { return PlayVoice(clip); }});
    connect(ui_->MessageTest, &QPushButton::clicked, this, &MainStage::MessageTestClick);
}

void MainStage::createDial() {
    dial_ = std::make_unique<DialBox>(*ui_->MojibanBox, ui_->Image1->pixmap().toImage(), settings_,
                                      services_.clock,
                                      DialBox::MenuItems{PopupMenu1->MIDigiAna, PopupMenu1->MIAmPm},
                                      DialBox::Hooks{[this] {
                                                         if (!faces_->expressionShowing())
                                                             TryRandomSmile();
                                                     },
                                                     [this] { clock_->dialPainted(); }});
    ui_->MojibanBox->onPaint = [this](QPainter& painter) { MojibanBoxPaint(painter); };
    connect(ui_->DateTimePicker1, &TimePicker::timeChanged, this,
            &MainStage::DateTimePicker1Change);
}

void MainStage::createClock() {
    clock_ = std::make_unique<StageClock>(
        *this, services_.clock, settings_, *PopupMenu1->threadPriorityGroup,
        UiClockHost::Targets{[this](int hour, int minute) { ComposeDial(hour, minute); },
                             [this](int second) { ShowDial(second); },
                             [this](int month, int day) { CheckKinenbi(month, day); },
                             [this](int month, int day, int hour, int minute) {
                                 CheckYotei(month, day, hour, minute);
                             },
                             // Her window's title is the application's, which the taskbar shows.
                             [this](const QString& text) { setWindowTitle(text); }});
}

void MainStage::ComposeDial(int hour, int minute) {
    dial_->ComposeDial(hour, minute);
}

void MainStage::ShowDial(int second) {
    dial_->ShowDial(second);
}

void MainStage::MojibanBoxPaint(QPainter& painter) {
    dial_->MojibanBoxPaint(painter);
}

void MainStage::MIDigiAnaClick() {
    dial_->MIDigiAnaClick();
}

void MainStage::MIAmPmClick() {
    dial_->MIAmPmClick();
}

void MainStage::DateTimePicker1Change(QTime time) {
    dial_->DateTimePicker1Change(time);
}

BalloonStage& MainStage::balloonStage() {
    return *balloonStage_;
}

bool MainStage::PlayVoice(const QString& name) {
    return voice_->PlayVoice(name);
}

void MainStage::StopVoice() {
    voice_->StopVoice();
}

bool MainStage::appMinimized() const {
    return minimizeWatch_->appMinimized();
}

void MainStage::AppMinimize() {
    minimizeWatch_->AppMinimize();
}

void MainStage::AppRestore() {
    minimizeWatch_->AppRestore();
}

void MainStage::CheckKinenbi(int month, int day) {
    events_->CheckKinenbi(month, day);
}

void MainStage::CheckYotei(int month, int day, int hour, int minute) {
    events_->CheckYotei(month, day, hour, minute);
}

bool MainStage::QueueAnnouncement(EventKind kind, int slot) {
    return events_->QueueAnnouncement(kind, slot);
}

void MainStage::RemoveAnnouncement(int position) {
    events_->RemoveAnnouncement(position);
}

void MainStage::MainTimerTimer() {
    events_->MainTimerTimer();
}

void MainStage::Announce(EventKind kind, int slot) {
    events_->Announce(kind, slot);
}

void MainStage::MessageTestClick() {
    events_->MessageTestClick();
}

void MainStage::EnableGroup(QGroupBox* group, bool enabled) {
    ::EnableGroup(*group, enabled);
}

void MainStage::createCharacter() {
    // The smile holds the loneliness timer, and the loneliness changes her face.
    faces_ = std::make_unique<Faces>(*ui_->FaceFrame, services_.random, services_.beeper,
                                     [this] { loneliness_->holdSmile(); });
    ui_->FaceFrame->onPaint = [this](QPainter& painter) { FaceFramePaint(painter); };
    loneliness_ = std::make_unique<Loneliness>(
        settings_.samiLim, services_.timers, *PopupMenu1->MIGaman, *ui_->NakuTest,
        Loneliness::Hooks{[this](const QString& clip) { PlayVoice(clip); },
                          [this](int index) { SetFace(index); },
                          [this] { return faces_->expressionShowing(); }});
    connect(ui_->FaceTest, &QPushButton::clicked, this, &MainStage::FaceTestClick);
    connect(ui_->RandomFace1, &QPushButton::clicked, this, &MainStage::RandomFace1Click);
    connect(ui_->NakuTest, &QCheckBox::clicked, this, &MainStage::NakuTestClick);
}

void MainStage::SetFace(int index) {
    faces_->SetFace(index);
}

void MainStage::FaceFramePaint(QPainter& painter) {
    faces_->FaceFramePaint(painter);
}

bool MainStage::TryRandomSmile() {
    return faces_->TryRandomSmile();
}

void MainStage::FaceTestClick() {
    faces_->FaceTestClick();
}

void MainStage::RandomFace1Click() {
    faces_->RandomFace1Click();
}

void MainStage::ArmSamishii(bool syncMenu) {
    loneliness_->ArmSamishii(syncMenu);
}

void MainStage::SamishiiTimerTimer() {
    loneliness_->SamishiiTimerTimer();
}

void MainStage::NakuTestClick() {
    loneliness_->NakuTestClick();
}
