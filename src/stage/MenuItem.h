#pragma once

#include <QtGlobal>
#include <functional>
#include <span>

class QAction;
class QActionGroup;
class QMenu;
class StagePopupMenu;

// The items of her menu, made by the part that answers them and handed to the menu, which
// puts them in their place. A stored setting is bound to its item here once: the check mark
// shows the setting from the start, and a pick changes the setting, ticks the item and then
// tells its part. Every command runs queued, once the menu has closed, as a change of the
// stacking style re-creates the window that owns the menu. Captions are written as
// QT_TRANSLATE_NOOP("StagePopupMenu", ...), the menu's context for translations.
namespace MenuItem {

// One radio item of a choice: its value is the action's data.
struct Choice {
    const char* name;
    const char* caption;
    int tag;
};

QAction* command(StagePopupMenu& menu, const char* name, const char* caption,
                 std::function<void()> run);
// A stored on/off setting; the item is ticked when the setting equals checkedWhen.
QAction* flag(StagePopupMenu& menu, const char* name, const char* caption, bool& setting,
              bool checkedWhen, std::function<void()> changed);
// A stored choice as a submenu of radio items; a stored value that no item offers ticks none.
QMenu* choice(StagePopupMenu& menu, const char* name, const char* caption,
              std::span<const Choice> items, qint32& setting, std::function<void()> changed);

// The radio group of a choice's submenu.
QActionGroup& groupOf(const QMenu& submenu);
// Ticks the first radio item whose value equals tag, and none when none does.
void checkItemWithTag(QActionGroup& group, int tag);
int tagOf(const QAction& item);

} // namespace MenuItem
