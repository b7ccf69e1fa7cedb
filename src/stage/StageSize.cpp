#include "stage/StageSize.h"

#include "stage/MenuItem.h"

#include <algorithm>
#include <iterator>

namespace StageSize {
namespace {
constexpr MenuItem::Choice kSizes[] = {
    {"MISize50", QT_TRANSLATE_NOOP("StagePopupMenu", "50%"), 50},
    {"MISize75", QT_TRANSLATE_NOOP("StagePopupMenu", "75%"), 75},
    {"MISize100", QT_TRANSLATE_NOOP("StagePopupMenu", "100%"), 100},
    {"MISize125", QT_TRANSLATE_NOOP("StagePopupMenu", "125%"), 125},
    {"MISize150", QT_TRANSLATE_NOOP("StagePopupMenu", "150%"), 150},
    {"MISize200", QT_TRANSLATE_NOOP("StagePopupMenu", "200%"), 200},
};
} // namespace

void addMenuItem(StagePopupMenu& menu, qint32& Size, std::function<void(qreal)> changed) {
    MenuItem::choice(menu, "MISize", QT_TRANSLATE_NOOP("StagePopupMenu", "大きさ"), kSizes, Size,
                     [&Size, changed = std::move(changed)] { changed(figureSize(Size)); });
}

qreal figureSize(qint32 percent) {
    const bool offered =
        std::any_of(std::begin(kSizes), std::end(kSizes),
                    [percent](const MenuItem::Choice& c) { return c.tag == percent; });
    return offered ? percent / 100.0 : 1.0;
}

} // namespace StageSize
