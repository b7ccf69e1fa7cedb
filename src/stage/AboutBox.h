#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutBox;
}
class StagePopupMenu;

// The version box: her small picture, the product line and the version.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* owner);
    ~AboutBox() override;

    // The menu item that shows the box over the owner.
    static void addMenuItem(StagePopupMenu& menu, QWidget& owner);

private:
    std::unique_ptr<Ui::AboutBox> ui_;
};
