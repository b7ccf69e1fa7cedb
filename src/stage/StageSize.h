#pragma once

#include <QtGlobal>
#include <functional>

class StagePopupMenu;

// Her size on the desktop, a percentage of her own, chosen in her menu.
namespace StageSize {

// The choice in her menu; changed runs after a pick with her new figure size.
void addMenuItem(StagePopupMenu& menu, qint32& Size, std::function<void(qreal size)> changed);
// Her figure size for a stored percentage: one the menu does not offer draws her at 100 %,
// and stays stored as it was.
qreal figureSize(qint32 percent);

} // namespace StageSize
