#include "app/SettingsKeeper.h"

#include "app/DelRegDlg.h"
#include "app/SaveOnChange.h"
#include "app/SettingsStore.h"
#include "platform/KeyState.h"

SettingsKeeper::SettingsKeeper(Registry& registry, QWidget& questionOwner)
    : registry_(registry), questionOwner_(questionOwner) {}

SettingsKeeper::~SettingsKeeper() = default;

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

void SettingsKeeper::saveFrom(Source source, TimerFactory& timers) {
    source_ = std::move(source);
    saveOnChange_ = std::make_unique<SaveOnChange>(
        timers, current(), [this] { return current(); },
        [this](const StageSettings& record) { return write(record); });
}

void SettingsKeeper::noteChange() {
    if (saveOnChange_ && !registryDeleted_ && !ended_)
        saveOnChange_->changed();
}

void SettingsKeeper::save() {
    const StageSettings record = current();
    write(record);
    if (saveOnChange_)
        saveOnChange_->savedElsewhere(record);
}

// Her place is part of the record, so that a drag alone is a change to save.
StageSettings SettingsKeeper::current() const {
    StageSettings record = source_.record ? source_.record() : settings_;
    if (source_.place) {
        const QPoint place = source_.place();
        record.FormLeft = place.x();
        record.FormTop = place.y();
    }
    return record;
}

bool SettingsKeeper::write(const StageSettings& record) {
    if (saveSettings(registry_, record, {record.FormLeft, record.FormTop}))
        return true;
    qWarning("hourling: her settings could not be saved; the settings file keeps what it "
             "held before");
    return false;
}
