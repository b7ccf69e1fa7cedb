#include "stage/StagePopupMenu.h"

#include "platform/KeyState.h"

#include <QActionGroup>

namespace {
struct RadioItem {
    const char* name;
    const char* caption;
    int tag;
};

QAction* addItem(QMenu& menu, const char* name, const QString& caption, bool checkable = false) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(checkable);
    return item;
}

QAction* addNamedSeparator(QMenu& menu, const char* name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

template <std::size_t N>
QActionGroup* addRadioItems(QMenu& submenu, const RadioItem (&items)[N],
                            std::array<QAction*, N>& actions) {
    auto* group = new QActionGroup(&submenu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (std::size_t i = 0; i < N; ++i) {
        actions[i] = addItem(submenu, items[i].name, StagePopupMenu::tr(items[i].caption), true);
        actions[i]->setData(items[i].tag);
        group->addAction(actions[i]);
    }
    return group;
}

QMenu* addSubmenu(QMenu& menu, const char* name, const QString& caption) {
    QMenu* submenu = menu.addMenu(caption);
    submenu->setObjectName(QLatin1String(name));
    submenu->menuAction()->setObjectName(QLatin1String(name));
    return submenu;
}
} // namespace

StagePopupMenu::StagePopupMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("PopupMenu1"));

    About1 = addItem(*this, "About1", tr("バージョン情報...(&A)"));
    MIDebugMode = addItem(*this, "MIDebugMode", tr("デバッグモード"), true);
    MIDebugMode->setVisible(false);

    MIThreadPriority = addSubmenu(*this, "MIThreadPriority", tr("スレッドの使用頻度"));
    static const RadioItem priorities[] = {
        {"MIThreadPrio1", QT_TR_NOOP("アイドル時のみ"), 0},
        {"MIThreadPrio2", QT_TR_NOOP("最低"), 1},
        {"MIThreadPrio3", QT_TR_NOOP("低"), 2},
        {"MIThreadPrio4", QT_TR_NOOP("通常"), 3},
        {"MIThreadPrio5", QT_TR_NOOP("高"), 4},
        {"MIThreadPrio6", QT_TR_NOOP("最高"), 5},
    };
    threadPriorityGroup = addRadioItems(*MIThreadPriority, priorities, MIThreadPrio);
    MIThreadPriority->menuAction()->setVisible(false);

    N3 = addNamedSeparator(*this, "N3");
    StayOnTop1 = addItem(*this, "StayOnTop1", tr("常に一番手前に表示(&S)"), true);
    MIDigiAna = addItem(*this, "MIDigiAna", tr("デジタル表示(&D)"), true);
    MIAmPm = addItem(*this, "MIAmPm", tr("12時間制[デジタル表示時](&H)"), true);
    N2 = addNamedSeparator(*this, "N2");
    MIMemorialSet = addItem(*this, "MIMemorialSet", tr("記念日設定..."));
    MIScheduleSet = addItem(*this, "MIScheduleSet", tr("予定設定..."));

    MIGaman = addSubmenu(*this, "MIGaman", tr("寂しくても我慢"));
    static const RadioItem patience[] = {
        {"MIGaman1", QT_TR_NOOP("とても寂しいです"), 600},
        {"MIGaman2", QT_TR_NOOP("ちょっと寂しいです"), 1200},
        {"MIGaman3", QT_TR_NOOP("お待ちしております"), 1800},
        {"MIGaman4", QT_TR_NOOP("我慢いたします"), 3600},
        {"MIGaman5", QT_TR_NOOP("辛抱いたします"), 14400},
        {"MIGaman0", QT_TR_NOOP("平気です[オフ]"), 0},
    };
    gamanGroup = addRadioItems(*MIGaman, patience, MIGamanItems);

    N1 = addNamedSeparator(*this, "N1");
    N1->setEnabled(false);
    X1 = addItem(*this, "X1", tr("終了(&X)"));
}

void StagePopupMenu::checkItemWithTag(QActionGroup& group, int tag) {
    for (QAction* item : group.actions()) {
        if (tagOf(*item) == tag) {
            item->setChecked(true);
            return;
        }
    }
    if (QAction* checked = group.checkedAction())
        checked->setChecked(false);
}

int StagePopupMenu::tagOf(const QAction& item) {
    return item.data().toInt();
}

bool StagePopupMenu::debugCombinationHeld(const KeyState& keys) {
    return keys.isDown(KeyState::Key::Control) && keys.isDown(KeyState::Key::Shift);
}

bool StagePopupMenu::priorityCombinationHeld(const KeyState& keys) {
    return keys.isDown(KeyState::Key::Control) && keys.isDown(KeyState::Key::Down);
}

void StagePopupMenu::revealHiddenEntries(const KeyState& keys) {
    MIDebugMode->setVisible(debugCombinationHeld(keys));
    MIThreadPriority->menuAction()->setVisible(priorityCombinationHeld(keys));
}
