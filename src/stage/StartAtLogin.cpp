#include "stage/StartAtLogin.h"

#include "platform/AutostartEntry.h"
#include "shared/ApplicationTitle.h"
#include "stage/MenuItem.h"
#include "stage/StagePopupMenu.h"

#include <QAction>
#include <QMessageBox>

namespace StartAtLogin {

void addMenuItem(StagePopupMenu& menu, QWidget& owner, const AutostartEntry& entry) {
    QAction* item = MenuItem::command(
        menu, "MIStartAtLogin", QT_TRANSLATE_NOOP("StagePopupMenu", "ログイン時に起動"),
        [&owner, entry] {
            const QString failure = entry.exists() ? entry.remove() : entry.write();
            if (failure.isEmpty())
                return;
            QMessageBox::warning(
                &owner, applicationTitle(),
                QCoreApplication::translate("StagePopupMenu",
                                            "ログイン時に起動する設定を変えられませんでした。") +
                    QStringLiteral("\n\n%1\n%2").arg(entry.path(), failure));
        });
    item->setCheckable(true);
    // Another program, or the user, may add or remove the entry while she runs.
    QObject::connect(&menu, &QMenu::aboutToShow, item,
                     [item, entry] { item->setChecked(entry.exists()); });
}

void addMenuItem(StagePopupMenu& menu, QWidget& owner) {
    addMenuItem(menu, owner, AutostartEntry::forThisProgram());
}

} // namespace StartAtLogin
