#include "stage/StageFigure.h"

#include "platform/CompositorWatch.h"
#include "stage/AssetCatalogue.h"
#include "stage/ScreenWatch.h"
#include "stage/StageOutline.h"
#include "stage/StagePicture.h"
#include "stage/StageShape.h"

#include <QLabel>
#include <QScreen>
#include <QWindow>

StageFigure::StageFigure(QWidget& window, QLabel& Image1, std::function<void(qreal)> redrawn)
    : window_(window), image_(Image1), redrawn_(std::move(redrawn)),
      compositor_(std::make_unique<CompositorWatch>()),
      outline_(std::make_unique<StageOutline>(window.devicePixelRatio(), compositor_->running())) {
    connect(compositor_.get(), &CompositorWatch::changed, this, [this](bool running) {
        if (running == outline_->withFringe())
            cutOutline();
        else
            redraw(outline_->ratio());
    });
    dressStage(window_, image_, *outline_);
    ratioWatch_ = std::make_unique<ScreenWatch>([this] { followDeviceRatio(); });
}

StageFigure::~StageFigure() = default;

void StageFigure::shapeWindow() {
    shapeStageWindow(window_, image_.pixmap().deviceIndependentSize().toSize(),
                     outline_->paintArea());
    cutOutline();
}

void StageFigure::followScreens() {
    connect(window_.windowHandle(), &QWindow::screenChanged, this, &StageFigure::followDeviceRatio,
            Qt::UniqueConnection);
}

void StageFigure::cutOutline() {
    outline_->cut(window_, compositor_->running());
}

void StageFigure::followDeviceRatio() {
    const qreal ratio = window_.devicePixelRatio();
    if (!qFuzzyCompare(ratio, outline_->ratio()))
        redraw(ratio);
}

void StageFigure::redraw(qreal ratio) {
    outline_ = std::make_unique<StageOutline>(ratio, compositor_->running());
    dressStage(window_, image_, *outline_);
    redrawn_(ratio);
    if (window_.isVisible())
        shapeWindow();
}

QImage StageFigure::dressed(const QString& name, QPoint at) const {
    const QImage picture = AssetCatalogue::bitmap(name, outline_->ratio(), kBodyRegion, at);
    if (picture.isNull())
        return picture;
    return outline_->dressed(picture, at);
}
