#include "stage/StagePopupMenu.h"

#include "platform/KeyState.h"
#include "stage/X11Place.h"

#include <QAction>
#include <QCursor>
#include <algorithm>
#include <iterator>

namespace {
// Her menu from top to bottom; the N entries are its separators.
// clang-format off
constexpr const char* kOrder[] = {
    "About1", "MIDebugMode", "MIThreadPriority",
    "N3", "StayOnTop1", "MIDigiAna", "MIAmPm",
    "MIStartAtLogin",
    "N2", "MIMemorialSet", "MIScheduleSet", "MIGaman",
    "MISize", "MIQuiet",
    "N1", "X1",
};
// clang-format on
constexpr const char* kDebugEntry = "MIDebugMode";
constexpr const char* kPriorityEntry = "MIThreadPriority";

int positionOf(const QAction* item) {
    const QByteArray name = item->objectName().toLatin1();
    const auto* found = std::find_if(std::begin(kOrder), std::end(kOrder),
                                     [&](const char* entry) { return name == entry; });
    return found == std::end(kOrder) ? -1 : int(found - std::begin(kOrder));
}

QAction* entry(const QMenu& menu, const char* name) {
    for (QAction* item : menu.actions()) {
        if (item->objectName() == QLatin1String(name))
            return item;
    }
    return nullptr;
}
} // namespace

StagePopupMenu::StagePopupMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("PopupMenu1"));
    for (const char* name : {"N3", "N2", "N1"}) {
        auto* separator = new QAction(this);
        separator->setSeparator(true);
        separator->setObjectName(QLatin1String(name));
        place(separator);
    }
    entry(*this, "N1")->setEnabled(false);
}

void StagePopupMenu::place(QAction* item) {
    const int position = positionOf(item);
    if (position < 0)
        qWarning("hourling: the menu's order has no place for %s; it goes last",
                 qPrintable(item->objectName()));
    QAction* before = nullptr;
    for (QAction* placed : actions()) {
        if (position >= 0 && positionOf(placed) > position) {
            before = placed;
            break;
        }
    }
    insertAction(before, item);
    if (item->objectName() == QLatin1String(kDebugEntry) ||
        item->objectName() == QLatin1String(kPriorityEntry))
        item->setVisible(false);
}

bool StagePopupMenu::debugCombinationHeld(const KeyState& keys) {
    return keys.isDown(KeyState::Key::Control) && keys.isDown(KeyState::Key::Shift);
}

bool StagePopupMenu::priorityCombinationHeld(const KeyState& keys) {
    return keys.isDown(KeyState::Key::Control) && keys.isDown(KeyState::Key::Down);
}

void StagePopupMenu::revealHiddenEntries(const KeyState& keys) {
    if (QAction* debug = entry(*this, kDebugEntry))
        debug->setVisible(debugCombinationHeld(keys));
    if (QAction* priority = entry(*this, kPriorityEntry))
        priority->setVisible(priorityCombinationHeld(keys));
}

void StagePopupMenu::openOnContextMenu(QWidget& window) {
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window, &QWidget::customContextMenuRequested, this, [this, &window](QPoint) {
        // The toolkit's idea of her place may be stale under a window manager, and the menu
        // belongs where the pointer is.
        X11Place::settle(window);
        popup(QCursor::pos());
    });
}
