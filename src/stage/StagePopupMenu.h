#pragma once

#include <QMenu>
#include <array>

class KeyState;
class QActionGroup;

// Her popup menu, item for item. The radio items of the two submenus carry their values
// as the action's data; one group per submenu keeps a single item checked.
class StagePopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit StagePopupMenu(QWidget* parent = nullptr);

    // Checks the first radio item whose value equals the given one; none when none does.
    static void checkItemWithTag(QActionGroup& group, int tag);
    static int tagOf(const QAction& item);

    // The hidden entries show only while their keys are held as the menu opens.
    static bool debugCombinationHeld(const KeyState& keys);
    static bool priorityCombinationHeld(const KeyState& keys);
    void revealHiddenEntries(const KeyState& keys);

    QAction* About1;
    QAction* MIDebugMode;
    QMenu* MIThreadPriority;
    std::array<QAction*, 6> MIThreadPrio;
    QActionGroup* threadPriorityGroup;
    QAction* N3;
    QAction* StayOnTop1;
    QAction* MIDigiAna;
    QAction* MIAmPm;
    QAction* N2;
    QAction* MIMemorialSet;
    QAction* MIScheduleSet;
    QMenu* MIGaman;
    std::array<QAction*, 6> MIGamanItems;
    QActionGroup* gamanGroup;
    QAction* N1;
    QAction* X1;
};
