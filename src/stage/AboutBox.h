#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AboutBox;
}

// The version box: her small picture, the product line and the version.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* owner);
    ~AboutBox() override;

private:
    std::unique_ptr<Ui::AboutBox> ui_;
};
