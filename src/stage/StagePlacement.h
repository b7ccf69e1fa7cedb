#pragma once

#include <QPoint>
#include <memory>
#include <optional>

class QWidget;
class ScreenWatch;

// Where her window stands: at the place she is stored at, or, while that place cannot be
// seen whole on the screens there are, wholly on the nearest one. Followed again whenever
// screens come or go; the stored place changes only when she is moved.
class StagePlacement {
public:
    explicit StagePlacement(QWidget& window);
    ~StagePlacement();
    StagePlacement(const StagePlacement&) = delete;
    StagePlacement& operator=(const StagePlacement&) = delete;

    // Puts her at the place wanted, or on the nearest screen when it cannot be seen there.
    void standAt(QPoint wanted);
    // Where the close stores her: where she stands, unless she stands elsewhere only
    // because her place could not be seen and has not been moved since.
    QPoint storedPlace() const;

private:
    void screensChanged();

    QWidget& window_;
    bool placed_ = false;
    // The place she was wanted at and the place she was shown at instead.
    struct ShownElsewhere {
        QPoint wanted;
        QPoint shownAt;
    };
    std::optional<ShownElsewhere> shownElsewhere_;
    std::unique_ptr<ScreenWatch> watch_;
};
