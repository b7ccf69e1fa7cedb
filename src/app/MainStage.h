#pragma once

#include "app/StageSettings.h"

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <memory>

namespace Ui {
class MainStage;
}
class KeyState;
class Registry;
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

    StageServices services_;
    std::unique_ptr<Ui::MainStage> ui;
    StageSettings settings_;
    bool RegistryDeleted = false;
    int Tag = 0;
    bool closeQueryDone_ = false;
};
