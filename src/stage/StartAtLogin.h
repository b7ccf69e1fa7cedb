#pragma once

class AutostartEntry;
class QWidget;
class StagePopupMenu;

// The menu item that has her start at login: ticked while her autostart entry is there, each
// time the menu opens; a pick writes or removes it. A folder that cannot be changed is told
// in a message box over the owner, and the entry stays as it was.
namespace StartAtLogin {

void addMenuItem(StagePopupMenu& menu, QWidget& owner, const AutostartEntry& entry);
// Her own entry, for this very program.
void addMenuItem(StagePopupMenu& menu, QWidget& owner);

} // namespace StartAtLogin
