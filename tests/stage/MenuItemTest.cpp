// The binding of a stored setting to its menu item, on a menu of its own.
#include "stage/MenuItem.h"
#include "stage/StagePopupMenu.h"
#include "support/fixtures/TestApplication.h"

#include <QActionGroup>
#include <gtest/gtest.h>

namespace {

constexpr MenuItem::Choice kChoices[] = {{"MIGaman1", "a", 600}, {"MIGaman0", "b", 0}};

TEST(MenuItem, APickChangesTheSettingTicksTheItemAndTellsThePartAndOpeningShowsTheSetting) {
    testApplication();
    StagePopupMenu menu;
    bool flag = true;
    qint32 choice = 7;
    int told = 0;
    QAction* item = MenuItem::flag(menu, "MIDigiAna", "x", flag, false, [&] { ++told; });
    QMenu* submenu = MenuItem::choice(menu, "MIGaman", "y", kChoices, choice, [&] { ++told; });
    QActionGroup& group = MenuItem::groupOf(*submenu);
    EXPECT_EQ(std::tuple(item->isChecked(), group.checkedAction()), std::tuple(false, nullptr));
    // Picked twice, a radio item stays checked.
    for (QAction* pick : {item, submenu->actions()[1], submenu->actions()[1]})
        pick->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(flag, item->isChecked(), choice, group.checkedAction(), told),
              std::tuple(false, true, 0, submenu->actions()[1], 3));
    // A change by its part shows when the menu opens.
    std::tie(flag, choice) = std::tuple(true, 600);
    emit menu.aboutToShow();
    EXPECT_EQ(std::tuple(item->isChecked(), group.checkedAction()),
              std::tuple(false, submenu->actions()[0]));
}

} // namespace
