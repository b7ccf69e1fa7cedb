#include "events/TranslatedLayout.h"

#include "events/TabControl.h"
#include "stage/UiLanguage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

namespace {
// Between a list and the word after it, and between that word and the next list.
constexpr int kWordGap = 3;
constexpr int kListGap = 5;
// What stays free at the right of the date row and of the tabs.
constexpr int kMargin = 6;

void growWidth(QWidget* widget, int by) {
    if (widget)
        widget->resize(widget->width() + by, widget->height());
}
} // namespace

void fitTranslatedTexts(QDialog& dialog, const SlotDialog::Controls& c) {
    if (!UiLanguage::active())
        return;
    // The date row: each list followed by the word that names it.
    const std::pair<QComboBox*, const char*> row[] = {
        {c.Tuki, "Label3"}, {c.Hi, "Label4"}, {c.Ji, "Label5"}, {c.Hun, "Label6"}};
    int x = c.Tuki->x();
    for (const auto& [list, wordName] : row) {
        auto* word = dialog.findChild<QLabel*>(QLatin1String(wordName));
        if (!list || !word)
            continue;
        list->move(x, list->y());
        x += list->width() + kWordGap;
        word->setGeometry(x, word->y(), word->sizeHint().width(), word->height());
        x += word->width() + kListGap;
    }
    const int rowNeeds = x - kListGap + kMargin - c.GroupBox1->width();
    const int tabsNeed =
        c.TabControl1->tabBar().sizeHint().width() + kMargin - c.TabControl1->width();
    const int grow = std::max({rowNeeds, tabsNeed, 0});
    if (grow == 0)
        return;
    dialog.setFixedSize(dialog.width() + grow, dialog.height());
    for (QWidget* widget : {static_cast<QWidget*>(c.TabControl1),
                            static_cast<QWidget*>(c.GroupBox1), static_cast<QWidget*>(c.Message)})
        growWidth(widget, grow);
    growWidth(dialog.findChild<QLabel*>(QStringLiteral("Label1")), grow);
    for (QPushButton* button : {c.OKBtn, c.CanBtn})
        button->move(button->x() + grow / 2, button->y());
}
