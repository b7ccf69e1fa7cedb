#pragma once

#include "app/StageServices.h"

#include <QWidget>
#include <memory>

namespace Ui {
class MainStage;
}
class DebugControls;
class DialBox;
class Faces;
class Loneliness;
class MinimizeWatch;
class QuietVoice;
class ScreenSaverHook;
class SettingsKeeper;
class StageClock;
class StageEvents;
class StageFigure;
class StageOutline;
class StagePlacement;
class StagePopupMenu;
class StageStacking;
class TMessageBalloon;
class VoicePlayer;
class WindowBalloonStage;
struct StageSettings;

// Her window, the composition root: it makes the parts once her settings are read, hands
// each what it needs and connects them. Each part is reached through its accessor.
class MainStage : public QWidget {
    Q_OBJECT
public:
    explicit MainStage(StageServices services, QWidget* parent = nullptr);
    ~MainStage() override;

    SettingsKeeper& keeper() { return *keeper_; }
    StageSettings& settings();
    // False until the window has been placed at its stored position.
    bool placed() const { return placed_; }

    DialBox& dial() { return *dial_; }
    StageClock& clock() { return *clock_; }
    StageEvents& events() { return *events_; }
    Faces& faces() { return *faces_; }
    Loneliness& loneliness() { return *loneliness_; }
    VoicePlayer& voice() { return *voice_; }
    TMessageBalloon& balloon() { return *balloon_; }
    MinimizeWatch& minimizeWatch() { return *minimizeWatch_; }
    StageStacking& stacking() { return *stacking_; }
    StagePlacement& placement() { return *placement_; }
    // Her outline at the device pixel ratio she is drawn for.
    const StageOutline& outline() const;

    // The process ends underneath her window, as it does when the display goes away: the
    // clock stops before her settings are saved.
    void closeAtExit();

signals:
    // After the close query has run and the window has closed.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void makeMenu();
    void makeBalloon();
    void makeCharacter();
    void makeDial();
    void makeClock();

    StageServices services_;
    std::unique_ptr<Ui::MainStage> ui_;
    StagePopupMenu* PopupMenu1 = nullptr;
    bool placed_ = false;

    // In the order they are made; each may use those above it.
    std::unique_ptr<SettingsKeeper> keeper_;
    std::unique_ptr<StageFigure> figure_;
    std::unique_ptr<DebugControls> debugControls_;
    std::unique_ptr<StagePlacement> placement_;
    std::unique_ptr<StageStacking> stacking_;
    std::unique_ptr<MinimizeWatch> minimizeWatch_;
    std::unique_ptr<VoicePlayer> voice_;
    std::unique_ptr<QuietVoice> quietVoice_;
    std::unique_ptr<WindowBalloonStage> balloonStage_;
    std::unique_ptr<TMessageBalloon> balloon_;
    std::unique_ptr<StageEvents> events_;
    std::unique_ptr<Faces> faces_;
    std::unique_ptr<Loneliness> loneliness_;
    std::unique_ptr<DialBox> dial_;
    std::unique_ptr<StageClock> clock_;
    std::unique_ptr<ScreenSaverHook> screenSaverHook_;
};
