#include "app/SettingsKeeper.h"

#include "app/DelRegDlg.h"
#include "app/SettingsStore.h"
#include "platform/KeyState.h"

SettingsKeeper::SettingsKeeper(Registry& registry, QWidget& questionOwner)
    : registry_(registry), questionOwner_(questionOwner) {}

void SettingsKeeper::load(const KeyState& keys) {
    if (keys.isDown(KeyState::Key::Shift) && keys.isDown(KeyState::Key::Control)) {
        DelRegDlg question(&questionOwner_);
        if (question.exec() == QDialog::Accepted)
            registryDeleted_ = resetStoredSettings(registry_);
    }
    if (!registryDeleted_)
        loadSettings(registry_, settings_);
}

bool SettingsKeeper::firstEnd() {
    if (ended_)
        return false;
    ended_ = true;
    return true;
}

void SettingsKeeper::close(const QString& saveQuestion) {
    if (!firstEnd())
        return;
    if (registryDeleted_) {
        const bool save = DelRegDlg::askToSave(&questionOwner_, saveQuestion);
        // A signal while the question was open ends her without saving, as Cancel does.
        if (!save || endingWithoutQuestions_)
            return;
    }
    save();
}

void SettingsKeeper::endWithoutQuestions() {
    endingWithoutQuestions_ = true;
    if (firstEnd() && !registryDeleted_)
        save();
}

void SettingsKeeper::closeAtExit() {
    if (!registryDeleted_ && firstEnd())
        save();
}

void SettingsKeeper::save() {
    const StageSettings record = source_.record ? source_.record() : settings_;
    const QPoint place =
        source_.place ? source_.place() : QPoint(settings_.FormLeft, settings_.FormTop);
    if (!saveSettings(registry_, record, place))
        qWarning("hourling: her settings could not be saved; the settings file keeps what it "
                 "held before");
}
