#pragma once

#include "app/StageSettings.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <memory>
#include <optional>

namespace Ui {
class MainStage;
}
class KeyState;
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
};
