#include "stage/MenuItem.h"

#include "stage/StagePopupMenu.h"

#include <QActionGroup>
#include <QCoreApplication>

namespace MenuItem {
namespace {

QString translated(const char* caption) {
    return QCoreApplication::translate("StagePopupMenu", caption);
}

QAction* named(QObject* parent, const char* name, const char* caption) {
    auto* item = new QAction(translated(caption), parent);
    item->setObjectName(QLatin1String(name));
    return item;
}

void onPick(StagePopupMenu& menu, QAction* item, std::function<void()> run) {
    QObject::connect(
        item, &QAction::triggered, item,
        [&menu, run = std::move(run)] {
            run();
            emit menu.picked();
        },
        Qt::QueuedConnection);
}

} // namespace

QAction* command(StagePopupMenu& menu, const char* name, const char* caption,
                 std::function<void()> run) {
    QAction* item = named(&menu, name, caption);
    onPick(menu, item, std::move(run));
    menu.place(item);
    return item;
}

QAction* flag(StagePopupMenu& menu, const char* name, const char* caption, bool& setting,
              bool checkedWhen, std::function<void()> changed) {
    QAction* item = named(&menu, name, caption);
    item->setCheckable(true);
    item->setChecked(setting == checkedWhen);
    const auto tick = [item, &setting, checkedWhen] { item->setChecked(setting == checkedWhen); };
    // A part may change the setting itself.
    QObject::connect(&menu, &QMenu::aboutToShow, item, tick);
    onPick(menu, item, [tick, &setting, changed = std::move(changed)] {
        setting = !setting;
        tick();
        if (changed)
            changed();
    });
    menu.place(item);
    return item;
}

QMenu* choice(StagePopupMenu& menu, const char* name, const char* caption,
              std::span<const Choice> items, qint32& setting, std::function<void()> changed) {
    auto* submenu = new QMenu(translated(caption), &menu);
    submenu->setObjectName(QLatin1String(name));
    submenu->menuAction()->setObjectName(QLatin1String(name));
    auto* group = new QActionGroup(submenu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const Choice& entry : items) {
        QAction* item = named(submenu, entry.name, entry.caption);
        item->setCheckable(true);
        item->setData(entry.tag);
        group->addAction(item);
        submenu->addAction(item);
    }
    checkItemWithTag(*group, setting);
    QObject::connect(&menu, &QMenu::aboutToShow, group,
                     [group, &setting] { checkItemWithTag(*group, setting); });
    QObject::connect(
        group, &QActionGroup::triggered, group,
        [&menu, &setting, changed = std::move(changed)](QAction* item) {
            setting = tagOf(*item);
            item->setChecked(true);
            if (changed)
                changed();
            emit menu.picked();
        },
        Qt::QueuedConnection);
    menu.place(submenu->menuAction());
    return submenu;
}

QActionGroup& groupOf(const QMenu& submenu) {
    return *submenu.findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
}

void checkItemWithTag(QActionGroup& group, int tag) {
    for (QAction* item : group.actions()) {
        if (tagOf(*item) == tag) {
            item->setChecked(true);
            return;
        }
    }
    if (QAction* checked = group.checkedAction())
        checked->setChecked(false);
}

int tagOf(const QAction& item) {
    return item.data().toInt();
}

} // namespace MenuItem
