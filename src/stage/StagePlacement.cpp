#include "stage/StagePlacement.h"

#include "stage/ScreenPlacement.h"
#include "stage/ScreenWatch.h"

#include <QWidget>

StagePlacement::StagePlacement(QWidget& window)
    : window_(window), watch_(std::make_unique<ScreenWatch>([this] { screensChanged(); })) {}

StagePlacement::~StagePlacement() = default;

void StagePlacement::standAt(QPoint wanted) {
    placed_ = true;
    const QPoint at = visiblePlace(QRect(wanted, window_.size()), ScreenWatch::availableAreas());
    if (at == wanted)
        shownElsewhere_.reset();
    else
        shownElsewhere_ = ShownElsewhere{wanted, at};
    window_.move(at);
}

QPoint StagePlacement::storedPlace() const {
    const QPoint at = window_.pos();
    return shownElsewhere_ && at == shownElsewhere_->shownAt ? shownElsewhere_->wanted : at;
}

void StagePlacement::screensChanged() {
    // From the place she is stored at, so that she goes back there when its screen does.
    if (placed_)
        standAt(storedPlace());
}
