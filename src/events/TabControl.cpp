#include "events/TabControl.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {
// The controls on the area start 22 pixels below the control's top.
constexpr int kTabRowHeight = 20;
} // namespace

TabControl::TabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    bar_->setUsesScrollButtons(false);
    setFocusProxy(bar_);
    connect(bar_, &QTabBar::currentChanged, this, &TabControl::barChanged);
}

QStringList TabControl::tabs() const {
    QStringList texts;
    for (int i = 0; i < bar_->count(); ++i)
        texts << bar_->tabText(i);
    return texts;
}

void TabControl::setTabs(const QStringList& tabs) {
    selecting_ = true;
    while (bar_->count() > 0)
        bar_->removeTab(0);
    for (const QString& text : tabs)
        bar_->addTab(text);
    selecting_ = false;
    current_ = bar_->currentIndex();
}

void TabControl::setCurrentIndex(int index) {
    selecting_ = true;
    bar_->setCurrentIndex(index);
    selecting_ = false;
    current_ = bar_->currentIndex();
}

void TabControl::barChanged(int index) {
    if (selecting_ || index == current_)
        return;
    emit changing();
    current_ = index;
    emit changed();
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    bar_->setGeometry(0, 0, width(), kTabRowHeight);
}

void TabControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, kTabRowHeight - overlap, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = bar_->sizeHint();
    frame.tabBarRect = bar_->geometry();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}
