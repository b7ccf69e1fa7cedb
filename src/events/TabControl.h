#pragma once

#include <QStringList>
#include <QWidget>

class QTabBar;

// A row of tabs over a framed area that holds the same controls whichever tab is selected;
// the tab only says what they show. Its children stand on the area itself, not on pages.
class TabControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList tabs READ tabs WRITE setTabs)
public:
    explicit TabControl(QWidget* parent = nullptr);

    QStringList tabs() const;
    void setTabs(const QStringList& tabs);
    int currentIndex() const { return current_; }
    // Selecting from the program raises neither signal.
    void setCurrentIndex(int index);
    QTabBar& tabBar() { return *bar_; }

signals:
    // The user picks another tab: first changing, while currentIndex() is still the tab
    // being left, then changed.
    void changing();
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void barChanged(int index);

    QTabBar* bar_;
    int current_ = 0;
    bool selecting_ = false;
};
