// The binding of a stored setting to its menu item, on a menu of its own.
#include "stage/MenuItem.h"
#include "stage/StagePopupMenu.h"
#include "support/fixtures/TestApplication.h"

#include <QActionGroup>
#include <gtest/gtest.h>

namespace {

constexpr MenuItem::Choice kChoices[] = {{"MIGaman1", "a", 600}, {"MIGaman0", "b", 0}};

TEST(MenuItem, AFlagShowsItsSettingAndAPickFlipsItThenTellsItsPart) {
    testApplication();
    StagePopupMenu menu;
    bool setting = true;
    int told = 0;
    QAction* item = MenuItem::flag(menu, "MIDigiAna", "x", setting, false, [&] { ++told; });
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(setting, item->isChecked(), told), std::tuple(false, true, 1));
    // A change by its part shows when the menu opens.
    setting = true;
    emit menu.aboutToShow();
    EXPECT_FALSE(item->isChecked());
}

TEST(MenuItem, AChoiceTicksOneItemOrNoneWhenNoValueMatches) {
    testApplication();
    StagePopupMenu menu;
    qint32 setting = 7;
    int told = 0;
    QMenu* submenu = MenuItem::choice(menu, "MIGaman", "x", kChoices, setting, [&] { ++told; });
    QActionGroup& group = MenuItem::groupOf(*submenu);
    EXPECT_EQ(group.checkedAction(), nullptr);
    // Picked twice, the checked item stays checked, as a radio item does.
    for (int pick = 0; pick < 2; ++pick) {
        submenu->actions()[1]->trigger();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(std::tuple(setting, group.checkedAction(), told),
              std::tuple(0, submenu->actions()[1], 2));
    MenuItem::checkItemWithTag(group, 600);
    EXPECT_EQ(group.checkedAction(), submenu->actions()[0]);
    MenuItem::checkItemWithTag(group, 9);
    EXPECT_EQ(group.checkedAction(), nullptr);
}

} // namespace
