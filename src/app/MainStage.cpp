#include "app/MainStage.h"

#include "app/SettingsKeeper.h"
#include "character/Faces.h"
#include "character/Loneliness.h"
#include "clock/DialBox.h"
#include "clock/StageClock.h"
#include "events/StageEvents.h"
#include "platform/KeyState.h"
#include "platform/RandomSource.h"
#include "shared/UiFont.h"
#include "stage/AboutBox.h"
#include "stage/DebugControls.h"
#include "stage/MenuItem.h"
#include "stage/ScreenSaverHook.h"
#include "stage/StageDrag.h"
#include "stage/StageFigure.h"
#include "stage/StagePlacement.h"
#include "stage/StagePopupMenu.h"
#include "stage/StageStacking.h"
#include "stage/StartAtLogin.h"
#include "stage/WindowDresser.h"
#include "ui_MainStage.h"
#include "voice/MinimizeWatch.h"
#include "voice/QuietVoice.h"
#include "voice/TMessageBalloon.h"
#include "voice/VoicePlayer.h"
#include "voice/WindowBalloonStage.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <functional>

MainStage::MainStage(StageServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(services),
      ui_(std::make_unique<Ui::MainStage>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    // An alpha channel, so that a compositor can blend her outline's fringe with the desktop.
    setAttribute(Qt::WA_TranslucentBackground);
    // Before any part is handed them.
    keeper_ = std::make_unique<SettingsKeeper>(services_.registry, *this);
    keeper_->load(services_.keys);
    figure_ = std::make_unique<StageFigure>(*this, *ui_->Image1, settings().Size, [this](qreal r) {
        dial_->setDeviceRatio(r, figure_->picture());
        faces_->redress();
    });
    new WindowDresser(*this, {.role = "stage", .shape = [this] { figure_->cutOutline(); }});
    makeMenu();
    figure_->addMenuItem(*PopupMenu1, settings().Size);
    debugControls_ = std::make_unique<DebugControls>(
        QList<QWidget*>{ui_->DateTimePicker1, ui_->MessageTest, ui_->FaceTest, ui_->NakuTest,
                        ui_->RandomFace1},
        QList<QWidget*>{ui_->DefaultStrings, ui_->DialogStrList}, *PopupMenu1);
    stacking_ = std::make_unique<StageStacking>(settings().StayOnTop, *this, *PopupMenu1);
    auto* drag = new StageDrag(
        *this, [this] { loneliness_->userTouched(); }, StageDrag::x11Pointer(*this));
    screenSaverHook_ = ScreenSaverHook::install([this](bool on) {
        // The dial's first paint after the saver gives the clock thread its chosen level back.
        dial_->setScreenSaved(on);
        if (on)
            clock_->lowerForScreenSaver();
    });
    placement_ = std::make_unique<StagePlacement>(*this, *drag);
    makeBalloon();
    services_.random.seedFromClock();
    makeCharacter();
    events_ =
        std::make_unique<StageEvents>(settings(),
                                      std::array<QString, 2>{ui_->DefaultStrings->item(0)->text(),
                                                             ui_->DefaultStrings->item(1)->text()},
                                      services_.timers, services_.uiPoster, *balloon_, *voice_);
    events_->addMenuItems(*PopupMenu1, *this);
    connect(ui_->MessageTest, &QPushButton::clicked, this, [this] { events_->MessageTestClick(); });
    makeDial();
    // At the stored level; it starts at the first show.
    makeClock();
    keeper_->saveFrom({.record = [this] { return events_->settingsCopy(); },
                       .place = [this] { return placement_->storedPlace(); }},
                      services_.timers);
    connect(PopupMenu1, &StagePopupMenu::picked, this, [this] { keeper_->noteChange(); });
    connect(drag, &StageDrag::movedByHand, this, [this] { keeper_->noteChange(); });
    // The face without a time until the clock thread gives it one.
    dial_->composeDial(-1, -1);
    loneliness_->armSamishii();
    // The balloon takes the same style whenever it shows.
    stacking_->apply();
}

// The clock thread calls into this window until it has ended.
MainStage::~MainStage() {
    if (clock_)
        clock_->stop();
}

StageSettings& MainStage::settings() {
    return keeper_->settings();
}

const StageOutline& MainStage::outline() const {
    return figure_->outline();
}

void MainStage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    figure_->followScreens();
    // Restoring from the taskbar is not a show of the window's own.
    if (!event->spontaneous())
        FormShow();
}

void MainStage::FormShow() {
    figure_->shapeWindow();
    // Once her size is known.
    if (!placed_)
        placement_->standAt({settings().FormLeft, settings().FormTop});
    placed_ = true;
    // The clock starts once settings, pictures and shape are in place, and only once.
    clock_->resumeOnce();
}

void MainStage::closeEvent(QCloseEvent* event) {
    keeper_->close(ui_->DialogStrList->item(1)->text());
    // The close is never refused.
    event->accept();
    emit closed();
}

void MainStage::closeAtExit() {
    // The clock thread may still be writing lastYotei.
    clock_->stop();
    keeper_->closeAtExit();
}

void MainStage::makeMenu() {
    PopupMenu1 = new StagePopupMenu(this);
    AboutBox::addMenuItem(*PopupMenu1, *this);
    MenuItem::command(*PopupMenu1, "X1", QT_TRANSLATE_NOOP("StagePopupMenu", "終了(&X)"),
                      [this] { close(); });
    StartAtLogin::addMenuItem(*PopupMenu1, *this);
    PopupMenu1->openOnContextMenu(*this);
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] {
        PopupMenu1->revealHiddenEntries(services_.keys);
        if (balloon_->speaking())
            balloon_->stopSpeaking();
        loneliness_->userTouched();
    });
}

void MainStage::makeBalloon() {
    minimizeWatch_ = std::make_unique<MinimizeWatch>(*this);
    voice_ = std::make_unique<VoicePlayer>(services_.sound);
    // The settings dialogs' own buttons play through voice_, quiet or not.
    quietVoice_ = std::make_unique<QuietVoice>(*voice_, settings().Quiet);
    quietVoice_->addMenuItem(*PopupMenu1);
    balloonStage_ = std::make_unique<WindowBalloonStage>(*this, *ui_->MouthArea, *minimizeWatch_,
                                                         &figure_->compositor());
    // Hidden until she speaks.
    balloon_ = std::make_unique<TMessageBalloon>(*balloonStage_, *stacking_, *quietVoice_,
                                                 services_.timers);
}

void MainStage::makeCharacter() {
    // The smile holds the loneliness timer, and the loneliness changes her face.
    faces_ = std::make_unique<Faces>(
        *ui_->FaceFrame, services_.random, services_.beeper, [this] { loneliness_->holdSmile(); },
        [this](const QString& name) { return figure_->dressed(name, *ui_->FaceFrame); });
    ui_->FaceFrame->onPaint = std::bind_front(&Faces::FaceFramePaint, faces_.get());
    loneliness_ = std::make_unique<Loneliness>(
        settings().samiLim, services_.timers, *PopupMenu1, *ui_->NakuTest,
        Loneliness::Hooks{.playVoice = std::bind_front(&QuietVoice::playVoice, quietVoice_.get()),
                          .setFace = std::bind_front(&Faces::setFace, faces_.get()),
                          .expressionShowing = [this] { return faces_->expressionShowing(); }});
    connect(ui_->FaceTest, &QPushButton::clicked, this, [this] { faces_->FaceTestClick(); });
    connect(ui_->RandomFace1, &QPushButton::clicked, this, [this] { faces_->RandomFace1Click(); });
    connect(ui_->NakuTest, &QCheckBox::clicked, this, [this] { loneliness_->NakuTestClick(); });
}

void MainStage::makeDial() {
    dial_ = std::make_unique<DialBox>(
        *ui_->MojibanBox, figure_->design(*ui_->MojibanBox), figure_->picture(), settings(),
        services_.clock, *PopupMenu1,
        DialBox::Hooks{.rebuilt = std::bind_front(&Faces::dialRebuilt, faces_.get()),
                       .painted = [this] { clock_->dialPainted(); }});
    ui_->MojibanBox->onPaint = std::bind_front(&DialBox::MojibanBoxPaint, dial_.get());
    connect(ui_->DateTimePicker1, &TimePicker::timeChanged, this,
            [this](QTime time) { dial_->DateTimePicker1Change(time); });
}

void MainStage::makeClock() {
    using std::bind_front;
    clock_ = std::make_unique<StageClock>(
        *this, services_.clock, services_.waiter, settings(), *PopupMenu1,
        UiClockHost::Targets{.composeDial = bind_front(&DialBox::composeDial, dial_.get()),
                             .showDial = bind_front(&DialBox::showDial, dial_.get()),
                             .checkKinenbi = bind_front(&StageEvents::checkKinenbi, events_.get()),
                             .checkYotei = bind_front(&StageEvents::checkYotei, events_.get()),
                             // Her window's title is the application's, which the taskbar shows.
                             .setTitle = [this](const QString& text) { setWindowTitle(text); }});
}
