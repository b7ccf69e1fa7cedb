#include "stage/AboutBox.h"

#include "shared/ApplicationTitle.h"
#include "shared/UiFont.h"
#include "stage/AssetCatalogue.h"
#include "ui_AboutBox.h"

#include <QPixmap>
#include <QScreen>
#include <algorithm>

AboutBox::AboutBox(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::AboutBox>()) {
    ui_->setupUi(this);
    setFont(uiFont());
    setFixedSize(298, 213);
    setModal(true);
    ui_->ProductName->setText(QStringLiteral("Hourling ") + kApplicationTitle);
    const QImage icon = AssetCatalogue::bitmap(QStringLiteral("ProgramIcon"));
    if (!icon.isNull())
        ui_->ProgramIcon->setPixmap(QPixmap::fromImage(icon));
    if (owner)
        centreOn(*owner);
}

void AboutBox::centreOn(const QWidget& owner) {
    QRect place(QPoint(), size());
    place.moveCenter(owner.geometry().center());
    // She may stand at the edge of the screen; the box stays whole on it.
    if (const QScreen* screen = owner.screen()) {
        const QRect screenArea = screen->availableGeometry();
        place.moveLeft(std::clamp(place.left(), screenArea.left(),
                                  std::max(screenArea.left(), screenArea.right() - width() + 1)));
        place.moveTop(std::clamp(place.top(), screenArea.top(),
                                 std::max(screenArea.top(), screenArea.bottom() - height() + 1)));
    }
    move(place.topLeft());
}

AboutBox::~AboutBox() = default;
