#pragma once

#include "app/StageServices.h"
#include "shared/StageSettings.h"

#include <QRegion>
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class MainStage;
}
class CompositorWatch;
class DebugControls;
class DialBox;
class Faces;
class Loneliness;
class MinimizeWatch;
class QtUiPoster;
class ScreenSaverHook;
class ScreenWatch;
class StageClock;
class StageEvents;
class StageOutline;
class StagePlacement;
class StagePopupMenu;
class StageStacking;
class TMessageBalloon;
class VoicePlayer;
class WindowBalloonStage;

// Her window, the composition root: it owns the settings and the order of start-up, show
// and close, makes the parts that behave, her balloon among them, and connects each menu
// item and control to the part that answers it. Each part is reached through its accessor.
class MainStage : public QWidget {
    Q_OBJECT
public:
    explicit MainStage(StageServices services, QWidget* parent = nullptr);
    ~MainStage() override;

    StageSettings& settings() { return settings_; }
    const StageSettings& settings() const { return settings_; }
    bool registryDeleted() const { return registryDeleted_; }
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

    // The process ends underneath her window, as it does when the display goes away: the
    // clock stops, and the settings are saved as a close saves them, unless only the question
    // that follows a reset, which needs the display, could allow that.
    void closeAtExit();
    // A signal or the session's end: the settings are saved as a close saves them, unless
    // they were reset, and from now on no question is asked, not even one already open. The
    // caller ends the event loops, the open question's among them.
    void endWithoutQuestions();
    bool endingWithoutQuestions() const { return endingWithoutQuestions_; }

    // A later start asks for her: she is shown, restored if minimised and raised, and so is
    // a dialog of hers that is open over her.
    void comeForward();
    StagePlacement& placement() { return *placement_; }
    // Her outline at the device pixel ratio she is drawn for.
    const StageOutline& outline() const { return *outline_; }

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
    void storeSettings();

    void PopupMenu1Popup();
    void About1Click();
    void X1Click();
    void screenSaverChanged(bool on);
    void makeBalloon();
    void makeEvents();
    void makeCharacter();
    void makeDial();
    void makeClock();
    void connectMenu();
    // Her size and outline from her picture and outline at the ratio she is drawn for.
    void shapeWindow();
    // Her outline cut again for whether a compositor shows its fringe.
    void cutOutline();
    // Everything drawn for the screen's scale drawn again when it changed.
    void followDeviceRatio();
    // A face picture as her window shows it at the face frame.
    QImage dressedFace(const QString& name) const;

    StageServices services_;
    std::unique_ptr<Ui::MainStage> ui_;
    StagePopupMenu* PopupMenu1 = nullptr;
    StageSettings settings_;
    bool registryDeleted_ = false;
    bool placed_ = false;
    bool closeQueryDone_ = false;
    bool endingWithoutQuestions_ = false;

    // In the order they are made; each may use those above it.
    std::unique_ptr<CompositorWatch> compositor_;
    std::unique_ptr<StageOutline> outline_;
    std::unique_ptr<ScreenWatch> ratioWatch_;
    std::unique_ptr<DebugControls> debugControls_;
    std::unique_ptr<StagePlacement> placement_;
    std::unique_ptr<StageStacking> stacking_;
    std::unique_ptr<MinimizeWatch> minimizeWatch_;
    std::unique_ptr<VoicePlayer> voice_;
    std::unique_ptr<WindowBalloonStage> balloonStage_;
    std::unique_ptr<TMessageBalloon> balloon_;
    std::unique_ptr<QtUiPoster> uiPoster_;
    std::unique_ptr<StageEvents> events_;
    std::unique_ptr<Faces> faces_;
    std::unique_ptr<Loneliness> loneliness_;
    std::unique_ptr<DialBox> dial_;
    std::unique_ptr<StageClock> clock_;
    std::unique_ptr<ScreenSaverHook> screenSaverHook_;
};
