#pragma once

#include "app/StageSettings.h"

#include <QImage>
#include <QRegion>
#include <QTime>
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class MainStage;
}
class ClockHost;
class Dial;
class KeyState;
class PaintRegionRecorder;
class QPainter;
class SecondWaiter;
class StaleDialArea;
class TClocker;
class UiHandOver;
struct DialMode;
class QAction;
class Registry;
class ScreenSaverHook;
class StagePopupMenu;
class WallClock;

// What the character window needs from outside; tests hand in fakes.
struct StageServices {
    Registry& registry;
    const KeyState& keys;
    const WallClock& clock;
};

// The character window: the composition root that owns the program's state. Behaviour
// lives in the parts it wires together; this class keeps the order of start-up, show
// and close.
class MainStage : public QWidget {
    Q_OBJECT
public:
    explicit MainStage(StageServices services, QWidget* parent = nullptr);
    ~MainStage() override;

    StageSettings& settings() { return settings_; }
    const StageSettings& settings() const { return settings_; }
    bool registryDeleted() const { return RegistryDeleted; }
    // 0 until the window has been placed at its stored position.
    int placementTag() const { return Tag; }

    // Every press and drag on her and every opening of her menu comes here.
    void UserTouched();

    // The dial. ComposeDial rebuilds the dial image (hour -1: the face alone); ShowDial
    // repaints the dial box at once with the seconds at that second.
    void ComposeDial(int hour, int minute);
    void ShowDial(int second);
    void MIDigiAnaClick();
    void MIAmPmClick();
    void DateTimePicker1Change(QTime time);
    // What the dial box shows now.
    QImage dialScreen() const;

    // The clock thread's priority: a level 0-5 applied now, and the screen saver's drop to
    // idle, which the dial's next paint undoes.
    void setClockPriority(int level);
    void lowerClockPriorityForScreenSaver();
    bool clockPriorityLowered() const { return PrioLowered; }
    const TClocker* clocker() const { return Clocker.get(); }

    // Called on the clock thread at each new day and each new minute.
    void CheckKinenbi(int month, int day);
    void CheckYotei(int month, int day, int hour, int minute);
    // Now and then starts a smile; true when it did.
    bool TryRandomSmile();

signals:
    // After the close query has run and the window has closed.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormCloseQuery();
    bool askResetAtStart();
    bool askSaveAfterReset();

    void wirePopupMenu();
    void PopupMenu1Popup();
    void About1Click();
    void MIDebugModeClick();
    void MIThreadPrio6Click(QAction* item);
    void StayOnTop1Click();
    void MIMemorialSetClick();
    void MIScheduleSetClick();
    void MIGaman5Click(int seconds);
    void X1Click();
    void hideBalloonIfShowing();
    void screenSaverChanged(bool on);
    void createDial();
    void createClocker();
    void stopClocker();
    void MojibanBoxPaint(QPainter& painter);
    DialMode dialMode() const;

    StageServices services_;
    std::unique_ptr<Ui::MainStage> ui;
    StagePopupMenu* PopupMenu1 = nullptr;
    std::unique_ptr<ScreenSaverHook> screenSaverHook_;
    StageSettings settings_;
    bool RegistryDeleted = false;
    int Tag = 0;
    // The outline last cut; none when her shape could not be loaded.
    std::optional<QRegion> WindowRegion;
    bool closeQueryDone_ = false;

    std::unique_ptr<Dial> dial_;
    std::unique_ptr<StaleDialArea> staleDial_;
    PaintRegionRecorder* dialPaintRegion_ = nullptr;
    // The normal face while null.
    QImage FaceBitmap;
    bool PrioLowered = false;
    // The second ShowDial paints; -1 when a paint comes from elsewhere.
    int showingSecond_ = -1;
    std::unique_ptr<UiHandOver> clockHandOver_;
    std::unique_ptr<SecondWaiter> secondWaiter_;
    std::unique_ptr<ClockHost> clockHost_;
    std::unique_ptr<TClocker> Clocker;
};
