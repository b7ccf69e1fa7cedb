#pragma once

#include "app/StageServices.h"
#include "shared/StageSettings.h"

#include <QImage>
#include <QRegion>
#include <QTime>
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class MainStage;
}
class BalloonStage;
class DialBox;
class Faces;
class Loneliness;
class MinimizeWatch;
class QAction;
class QGroupBox;
class QPainter;
class QtUiPoster;
class ScreenSaverHook;
class StageClock;
class StageEvents;
class StagePopupMenu;
class TMessageBalloon;
class VoicePlayer;
class WindowBalloonStage;
enum class EventKind;

// Her window, the composition root: it owns the settings and the order of start-up, show
// and close, creates the parts that behave and hands each what it needs. The operations the
// parts offer keep their names here as one-line forwards.
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
    DialBox& dial() { return *dial_; }
    StageClock& clock() { return *clock_; }
    StageEvents& events() { return *events_; }
    Faces& faces() { return *faces_; }
    Loneliness& loneliness() { return *loneliness_; }

    // What the speech balloon sees of her window.
    BalloonStage& balloonStage();
    // The balloon, made right after her window and gone before it.
    void setMessageBalloon(TMessageBalloon* balloon) { MessageBalloon = balloon; }

    // Every press and drag on her and every opening of her menu comes here.
    void UserTouched();
    void SetFace(int index);
    void FaceFramePaint(QPainter& painter);
    void ArmSamishii(bool syncMenu);
    void SamishiiTimerTimer();

    void ComposeDial(int hour, int minute);
    void ShowDial(int second);
    void MojibanBoxPaint(QPainter& painter);
    void MIDigiAnaClick();
    void MIAmPmClick();
    void DateTimePicker1Change(QTime time);

    bool PlayVoice(const QString& name);
    void StopVoice();
    // The program's minimised state, as her taskbar entry shows it.
    bool appMinimized() const;
    void AppMinimize();
    void AppRestore();

    // Called on the clock thread at each new day and each new minute.
    void CheckKinenbi(int month, int day);
    void CheckYotei(int month, int day, int hour, int minute);
    bool QueueAnnouncement(EventKind kind, int slot);
    void RemoveAnnouncement(int position);
    void MainTimerTimer();
    void Announce(EventKind kind, int slot);
    void MessageTestClick();
    void EnableGroup(QGroupBox* group, bool enabled);
    // Now and then starts a smile; true when it did.
    bool TryRandomSmile();

    // The process ends underneath her window, as it does when the display goes away: the
    // clock stops, and the settings are saved as a close saves them, unless only the question
    // that follows a reset, which needs the display, could allow that.
    void closeAtExit();

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
    void saveSettings();

    void wirePopupMenu();
    void PopupMenu1Popup();
    void About1Click();
    void MIDebugModeClick();
    void MIThreadPrio6Click(QAction* item);
    void StayOnTop1Click();
    void MIMemorialSetClick();
    void MIScheduleSetClick();
    void MIGaman5Click(QAction* item);
    void FaceTestClick();
    void RandomFace1Click();
    void NakuTestClick();
    void X1Click();
    void hideBalloonIfShowing();
    void screenSaverChanged(bool on);
    void createEvents();
    void createDial();
    void createClock();
    void createCharacter();
    // The five controls that the debug mode shows.
    QList<QWidget*> debugControls() const;

    StageServices services_;
    std::unique_ptr<Ui::MainStage> ui_;
    StagePopupMenu* PopupMenu1 = nullptr;
    std::unique_ptr<ScreenSaverHook> screenSaverHook_;
    StageSettings settings_;
    bool RegistryDeleted = false;
    int Tag = 0;
    // The outline last cut; none when her shape could not be loaded.
    std::optional<QRegion> WindowRegion;
    bool closeQueryDone_ = false;

    std::unique_ptr<MinimizeWatch> minimizeWatch_;
    std::unique_ptr<VoicePlayer> voice_;
    std::unique_ptr<WindowBalloonStage> balloonStage_;
    TMessageBalloon* MessageBalloon = nullptr;
    std::unique_ptr<QtUiPoster> uiPoster_;
    std::unique_ptr<StageEvents> events_;
    std::unique_ptr<Faces> faces_;
    std::unique_ptr<Loneliness> loneliness_;
    std::unique_ptr<DialBox> dial_;
    std::unique_ptr<StageClock> clock_;
};
