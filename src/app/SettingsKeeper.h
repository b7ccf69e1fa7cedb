#pragma once

#include "shared/StageSettings.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class KeyState;
class QWidget;
class Registry;
class SaveOnChange;
class TimerFactory;

// The settings' life, from the read at start to the save at the end: the one place that
// reads and writes the settings file. Whichever way she ends (her window's close, the exit
// item among them, a signal, the session's end, the display going away) the settings are
// saved once, unless they were reset and the question at the close declines it.
class SettingsKeeper {
public:
    // What a save writes, taken at the moment it saves: the record, and her window's place.
    struct Source {
        std::function<StageSettings()> record;
        std::function<QPoint()> place;
    };

    // The questions show over the owner.
    SettingsKeeper(Registry& registry, QWidget& questionOwner);
    ~SettingsKeeper();

    // Holding Shift and Ctrl asks whether to reset the settings; OK deletes the stored ones
    // and leaves the defaults in force. Otherwise the file's settings are read.
    void load(const KeyState& keys);
    StageSettings& settings() { return settings_; }
    const StageSettings& settings() const { return settings_; }
    bool registryDeleted() const { return registryDeleted_; }
    // What a save writes from now on. Each committed change then reaches the file moments
    // after it is made, so that a crash or a kill loses none; after a reset nothing is
    // written until the close's question allows it, as the reset itself is on disk already.
    void saveFrom(Source source, TimerFactory& timers);
    // A change was committed: a menu choice, a dialog's OK, the end of a drag.
    void noteChange();

    // Her window closes: after a reset, the question decides whether to save.
    void close(const QString& saveQuestion);
    // A signal or the session's end: saved unless reset, and from now on no question is
    // asked, not even one already open.
    void endWithoutQuestions();
    bool endingWithoutQuestions() const { return endingWithoutQuestions_; }
    // The process ends underneath her window: saved unless only the question that follows
    // a reset, which needs the display, could allow that.
    void closeAtExit();

private:
    // Each way of ending may follow another; the first one decides.
    bool firstEnd();
    void save();
    StageSettings current() const;
    bool write(const StageSettings& record);

    Registry& registry_;
    QWidget& questionOwner_;
    StageSettings settings_;
    Source source_;
    std::unique_ptr<SaveOnChange> saveOnChange_;
    bool registryDeleted_ = false;
    bool ended_ = false;
    bool endingWithoutQuestions_ = false;
};
