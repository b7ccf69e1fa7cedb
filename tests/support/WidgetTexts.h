#pragma once

#include <QComboBox>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

// The items of a list, or the tabs of the tab bar inside a control, in order.
inline QStringList itemsOf(const QWidget* control) {
    QStringList items;
    if (const auto* list = qobject_cast<const QComboBox*>(control))
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
    else if (const auto* tabs = control ? control->findChild<QTabBar*>() : nullptr)
        for (int i = 0; i < tabs->count(); ++i)
            items << tabs->tabText(i);
    return items;
}

inline QStringList itemsOf(const QWidget& control) {
    return itemsOf(&control);
}

// The numbers from one to another as a list shows them.
inline QStringList numbers(int from, int to, int step = 1) {
    QStringList texts;
    for (int n = from; n <= to; n += step)
        texts << QString::number(n);
    return texts;
}
