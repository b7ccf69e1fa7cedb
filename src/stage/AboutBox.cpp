#include "stage/AboutBox.h"

#include "shared/ApplicationTitle.h"
#include "shared/UiFont.h"
#include "stage/AssetCatalogue.h"
#include "stage/CentreOver.h"
#include "stage/MenuItem.h"
#include "ui_AboutBox.h"

#include <QPixmap>

AboutBox::AboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::AboutBox>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    setFixedSize(298, 213);
    setModal(true);
    // The product's name, then hers for it where the language gives her one of her own.
    const QString title = applicationTitle();
    ui_->ProductName->setText(title == kProductName ? title : kProductName + u' ' + title);
    ui_->Version->setText(QStringLiteral("Version " HOURLING_VERSION));
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("ProgramIcon"));
    if (!icon.isNull())
        ui_->ProgramIcon->setPixmap(QPixmap::fromImage(icon));
    if (owner)
        centreOver(*this, *owner);
}

AboutBox::~AboutBox() = default;

void AboutBox::addMenuItem(StagePopupMenu& menu, QWidget& owner) {
    MenuItem::command(menu, "About1", QT_TRANSLATE_NOOP("StagePopupMenu", "バージョン情報...(&A)"),
                      [&owner] {
                          AboutBox box(&owner);
                          box.exec();
                      });
}
