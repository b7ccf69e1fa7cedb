#pragma once

#include <QMenu>

class KeyState;

// Her popup menu: the order of its items and its separators. Each item is made by the part
// that answers it (see MenuItem) and put in its place here by its object name.
class StagePopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit StagePopupMenu(QWidget* parent = nullptr);

    // Puts the item where its object name stands in the order; a name the order does not
    // hold is a mistake of the program, and the item goes last.
    void place(QAction* item);

    // The hidden entries show only while their keys are held as the menu opens.
    static bool debugCombinationHeld(const KeyState& keys);
    static bool priorityCombinationHeld(const KeyState& keys);
    void revealHiddenEntries(const KeyState& keys);
    // Opens at the pointer whenever the window asks for its context menu.
    void openOnContextMenu(QWidget& window);

signals:
    // An item's command has run to its end, a dialog it opened closed: what it changed is
    // committed.
    void picked();
};
