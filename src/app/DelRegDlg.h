#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class DelRegDlg;
}

// Asks whether to delete the stored settings; Accepted means OK, anything else Cancel.
class DelRegDlg : public QDialog {
    Q_OBJECT
public:
    explicit DelRegDlg(QWidget* owner);
    ~DelRegDlg() override;

    // The question that follows a reset at the close: whether to save the settings after all.
    // True for OK.
    static bool askToSave(QWidget* owner, const QString& question);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::DelRegDlg> ui_;
};
