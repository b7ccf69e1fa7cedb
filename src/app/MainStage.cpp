#include "app/MainStage.h"

#include "app/DelRegDlg.h"
#include "app/SettingsStore.h"
#include "character/Faces.h"
#include "character/Loneliness.h"
#include "clock/DialBox.h"
#include "clock/StageClock.h"
#include "events/StageEvents.h"
#include "platform/CompositorWatch.h"
#include "platform/KeyState.h"
#include "platform/RandomSource.h"
#include "platform/UiPoster.h"
#include "shared/UiFont.h"
#include "stage/AboutBox.h"
#include "stage/AssetCatalogue.h"
#include "stage/DebugControls.h"
#include "stage/ScreenSaverHook.h"
#include "stage/ScreenWatch.h"
#include "stage/StageDrag.h"
#include "stage/StageOutline.h"
#include "stage/StagePicture.h"
#include "stage/StagePlacement.h"
#include "stage/StagePopupMenu.h"
#include "stage/StageShape.h"
#include "stage/StageStacking.h"
#include "stage/WindowDresser.h"
#include "stage/X11Place.h"
#include "ui_MainStage.h"
#include "voice/MinimizeWatch.h"
#include "voice/TMessageBalloon.h"
#include "voice/VoicePlayer.h"
#include "voice/WindowBalloonStage.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

MainStage::MainStage(StageServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services),
      ui_(std::make_unique<Ui::MainStage>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    // An alpha channel, so that a compositor can blend her outline's fringe with the desktop.
    setAttribute(Qt::WA_TranslucentBackground);
    compositor_ = std::make_unique<CompositorWatch>();
    connect(compositor_.get(), &CompositorWatch::changed, this, [this] { cutOutline(); });
    outline_ = std::make_unique<StageOutline>(devicePixelRatio());
    dressStage(*this, *ui_->Image1, *outline_);
    new WindowDresser(*this, {.role = "stage", .shape = [this] { cutOutline(); }});
    // A change of the desktop's scale, or a move to a screen of another, redraws her.
    ratioWatch_ = std::make_unique<ScreenWatch>([this] { followDeviceRatio(); });
    PopupMenu1 = new StagePopupMenu(this);
    debugControls_ = std::make_unique<DebugControls>(
        QList<QWidget*>{ui_->DateTimePicker1, ui_->MessageTest, ui_->FaceTest, ui_->NakuTest,
                        ui_->RandomFace1},
        QList<QWidget*>{ui_->DefaultStrings, ui_->DialogStrList}, *PopupMenu1->MIDebugMode);
    stacking_ =
        std::make_unique<StageStacking>(settings_.StayOnTop, *this, *PopupMenu1->StayOnTop1);
    auto* drag = new StageDrag(
        *this, [this] { loneliness_->userTouched(); }, StageDrag::x11Pointer(*this));
    screenSaverHook_ = ScreenSaverHook::install([this](bool on) { screenSaverChanged(on); });
    placement_ = std::make_unique<StagePlacement>(*this, *drag);
    makeBalloon();
    services_.random.seedFromClock();
    makeCharacter();
    makeEvents();
    connectMenu();
    FormCreate();
}

// The clock thread calls into this window until it has ended.
MainStage::~MainStage() {
    if (clock_)
        clock_->stop();
}

void MainStage::FormCreate() {
    // The reset the user asks for by holding Shift and Ctrl at start; the key is then left
    // deleted and the defaults stay in force.
    if (services_.keys.isDown(KeyState::Key::Shift) &&
        services_.keys.isDown(KeyState::Key::Control)) {
        if (askResetAtStart())
            registryDeleted_ = resetStoredSettings(services_.registry);
    }
    if (!registryDeleted_)
        loadSettings(services_.registry, settings_);
    makeDial();
    // At the stored level; it starts at the first show.
    makeClock();
    dial_->syncMenu();
    // The face without a time until the clock thread gives it one.
    dial_->composeDial(-1, -1);
    loneliness_->armSamishii(true);
    placed_ = false;
    // The balloon takes the same style whenever it shows.
    stacking_->apply();
}

bool MainStage::askResetAtStart() {
    DelRegDlg dialog(this);
    return dialog.exec() == QDialog::Accepted;
}

void MainStage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    connect(windowHandle(), &QWindow::screenChanged, this, &MainStage::followDeviceRatio,
            Qt::UniqueConnection);
    // Restoring from the taskbar is not a show of the window's own.
    if (!event->spontaneous())
        FormShow();
}

void MainStage::FormShow() {
    // A re-created native window has lost its outline, so it is cut again at every show.
    shapeWindow();
    // Once her size is known.
    if (!placed_)
        placement_->standAt({settings_.FormLeft, settings_.FormTop});
    placed_ = true;
    // The clock starts once settings, pictures and shape are in place, and only once.
    clock_->resumeOnce();
}

void MainStage::shapeWindow() {
    shapeStageWindow(*this, ui_->Image1->pixmap().deviceIndependentSize().toSize(),
                     outline_->paintArea());
    cutOutline();
}

void MainStage::cutOutline() {
    outline_->cut(*this, compositor_->running());
}

void MainStage::followDeviceRatio() {
    const qreal ratio = devicePixelRatio();
    if (qFuzzyCompare(ratio, outline_->ratio()))
        return;
    outline_ = std::make_unique<StageOutline>(ratio);
    dressStage(*this, *ui_->Image1, *outline_);
    dial_->setDeviceRatio(ratio, ui_->Image1->pixmap().toImage());
    faces_->redress();
    if (isVisible())
        shapeWindow();
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
    if (registryDeleted_) {
        const bool save = askSaveAfterReset();
        // A signal while the question was open ends her without saving, as Cancel does.
        if (!save || endingWithoutQuestions_)
            return;
    }
    storeSettings();
}

void MainStage::endWithoutQuestions() {
    endingWithoutQuestions_ = true;
    if (closeQueryDone_)
        return;
    closeQueryDone_ = true;
    if (!registryDeleted_)
        storeSettings();
}

void MainStage::comeForward() {
    X11Place::showAgain(*this);
    minimizeWatch_->restoreApp();
    raise();
    activateWindow();
    // A question or a settings dialog of hers stays in front of her.
    if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != this) {
        dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
}

void MainStage::closeAtExit() {
    clock_->stop();
    if (closeQueryDone_ || registryDeleted_)
        return;
    closeQueryDone_ = true;
    storeSettings();
}

void MainStage::storeSettings() {
    // The clock thread may still be writing lastYotei.
    if (!saveSettings(services_.registry, events_->settingsCopy(), placement_->storedPlace()))
        qWarning("hourling: her settings could not be saved; the settings file keeps what it "
                 "held before");
}

bool MainStage::askSaveAfterReset() {
    return DelRegDlg::askToSave(this, ui_->DialogStrList->item(1)->text());
}

void MainStage::connectMenu() {
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](QPoint) {
        // The toolkit's idea of her place may be stale under a window manager, and
        // the menu belongs where the pointer is.
        X11Place::settle(*this);
        PopupMenu1->popup(QCursor::pos());
    });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &MainStage::PopupMenu1Popup);
    // Queued so that each command runs once the menu has closed, as the stacking change
    // re-creates the window that owns the menu.
    const auto queued = Qt::QueuedConnection;
    const StagePopupMenu& menu = *PopupMenu1;
    connect(menu.About1, &QAction::triggered, this, &MainStage::About1Click, queued);
    connect(
        menu.MIDebugMode, &QAction::triggered, this, [this] { debugControls_->MIDebugModeClick(); },
        queued);
    connect(
        menu.threadPriorityGroup, &QActionGroup::triggered, this,
        [this](QAction* item) { clock_->MIThreadPrio6Click(item); }, queued);
    connect(menu.StayOnTop1, &QAction::triggered, stacking_.get(), &StageStacking::StayOnTop1Click,
            queued);
    connect(
        menu.MIDigiAna, &QAction::triggered, this, [this] { dial_->MIDigiAnaClick(); }, queued);
    connect(
        menu.MIAmPm, &QAction::triggered, this, [this] { dial_->MIAmPmClick(); }, queued);
    connect(
        menu.MIMemorialSet, &QAction::triggered, this,
        [this] { events_->MIMemorialSetClick(this); }, queued);
    connect(
        menu.MIScheduleSet, &QAction::triggered, this,
        [this] { events_->MIScheduleSetClick(this); }, queued);
    connect(
        menu.gamanGroup, &QActionGroup::triggered, this,
        [this](QAction* item) { loneliness_->MIGaman5Click(item); }, queued);
    connect(menu.X1, &QAction::triggered, this, &MainStage::X1Click, queued);
}

void MainStage::PopupMenu1Popup() {
    PopupMenu1->revealHiddenEntries(services_.keys);
    if (balloon_->speaking())
        balloon_->stopSpeaking();
    loneliness_->userTouched();
}

void MainStage::About1Click() {
    AboutBox box(this);
    box.exec();
}

void MainStage::X1Click() {
    close();
}

void MainStage::screenSaverChanged(bool on) {
    // The dial's first paint after the saver gives the clock thread its chosen level back.
    dial_->setScreenSaved(on);
    if (on)
        clock_->lowerForScreenSaver();
}

void MainStage::makeBalloon() {
    minimizeWatch_ = std::make_unique<MinimizeWatch>(*this);
    voice_ = std::make_unique<VoicePlayer>(services_.sound);
    balloonStage_ = std::make_unique<WindowBalloonStage>(*this, ui_->MouthArea->geometry(),
                                                         *minimizeWatch_, compositor_.get());
    // Hidden until she speaks.
    balloon_ =
        std::make_unique<TMessageBalloon>(*balloonStage_, *stacking_, *voice_, services_.timers);
}

void MainStage::makeEvents() {
    uiPoster_ = std::make_unique<QtUiPoster>();
    events_ =
        std::make_unique<StageEvents>(settings_,
                                      std::array<QString, 2>{ui_->DefaultStrings->item(0)->text(),
                                                             ui_->DefaultStrings->item(1)->text()},
                                      services_.timers, *uiPoster_, *balloon_, *voice_);
    connect(ui_->MessageTest, &QPushButton::clicked, this, [this] { events_->MessageTestClick(); });
}

void MainStage::makeCharacter() {
    // The smile holds the loneliness timer, and the loneliness changes her face.
    faces_ = std::make_unique<Faces>(
        *ui_->FaceFrame, services_.random, services_.beeper, [this] { loneliness_->holdSmile(); },
        [this](const QString& name) { return dressedFace(name); });
    ui_->FaceFrame->onPaint = [this](QPainter& painter) { faces_->FaceFramePaint(painter); };
    loneliness_ = std::make_unique<Loneliness>(
        settings_.samiLim, services_.timers, *PopupMenu1->MIGaman, *ui_->NakuTest,
        Loneliness::Hooks{.playVoice = [this](const QString& clip) { voice_->playVoice(clip); },
                          .setFace = [this](int index) { faces_->setFace(index); },
                          .expressionShowing = [this] { return faces_->expressionShowing(); }});
    connect(ui_->FaceTest, &QPushButton::clicked, this, [this] { faces_->FaceTestClick(); });
    connect(ui_->RandomFace1, &QPushButton::clicked, this, [this] { faces_->RandomFace1Click(); });
    connect(ui_->NakuTest, &QCheckBox::clicked, this, [this] { loneliness_->NakuTestClick(); });
}

QImage MainStage::dressedFace(const QString& name) const {
    const QImage face = AssetCatalogue::bitmap(name, outline_->ratio());
    if (face.isNull())
        return face;
    return outline_->dressed(face, ui_->FaceFrame->pos());
}

void MainStage::makeDial() {
    dial_ = std::make_unique<DialBox>(
        *ui_->MojibanBox, ui_->Image1->pixmap().toImage(), settings_, services_.clock,
        DialBox::MenuItems{.MIDigiAna = PopupMenu1->MIDigiAna, .MIAmPm = PopupMenu1->MIAmPm},
        DialBox::Hooks{.rebuilt =
                           [this] {
                               if (!faces_->expressionShowing())
                                   faces_->tryRandomSmile();
                           },
                       .painted = [this] { clock_->dialPainted(); }});
    ui_->MojibanBox->onPaint = [this](QPainter& painter) { dial_->MojibanBoxPaint(painter); };
    connect(ui_->DateTimePicker1, &TimePicker::timeChanged, this,
            [this](QTime time) { dial_->DateTimePicker1Change(time); });
}

void MainStage::makeClock() {
    clock_ = std::make_unique<StageClock>(
        *this, services_.clock, settings_, *PopupMenu1->threadPriorityGroup,
        UiClockHost::Targets{
            .composeDial = [this](int hour, int minute) { dial_->composeDial(hour, minute); },
            .showDial = [this](int second) { dial_->showDial(second); },
            .checkKinenbi = [this](int month, int day) { events_->checkKinenbi(month, day); },
            .checkYotei = [this](int month, int day, int hour,
                                 int minute) { events_->checkYotei(month, day, hour, minute); },
            // Her window's title is the application's, which the taskbar shows.
            .setTitle = [this](const QString& text) { setWindowTitle(text); }});
}
