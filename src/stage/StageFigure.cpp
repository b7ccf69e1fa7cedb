#include "stage/StageFigure.h"

#include "platform/CompositorWatch.h"
#include "stage/AssetCatalogue.h"
#include "stage/ScreenWatch.h"
#include "stage/StageOutline.h"
#include "stage/StagePicture.h"
#include "stage/StageShape.h"
#include "stage/StageSize.h"

#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QWindow>

StageFigure::StageFigure(QWidget& window, QLabel& Image1, qint32 Size,
                         std::function<void(qreal)> redrawn)
    : window_(window), image_(Image1), redrawn_(std::move(redrawn)), layout_(window),
      compositor_(std::make_unique<CompositorWatch>()) {
    const FigureScale scale{StageSize::figureSize(Size), window.devicePixelRatio()};
    outline_ = std::make_unique<StageOutline>(scale, compositor_->running());
    connect(compositor_.get(), &CompositorWatch::changed, this, [this](bool running) {
        if (running == outline_->withFringe())
            cutOutline();
        else
            redraw(outline_->scale());
    });
    layout_.apply(scale);
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
    const qreal device = window_.devicePixelRatio();
    if (!qFuzzyCompare(device, outline_->scale().device))
        redraw({outline_->scale().size, device});
}

void StageFigure::addMenuItem(StagePopupMenu& menu, qint32& Size) {
    StageSize::addMenuItem(menu, Size, [this](qreal size) {
        if (!qFuzzyCompare(size, outline_->scale().size))
            redraw({size, outline_->scale().device});
    });
}

void StageFigure::redraw(FigureScale scale) {
    outline_ = std::make_unique<StageOutline>(scale, compositor_->running());
    layout_.apply(scale);
    dressStage(window_, image_, *outline_);
    redrawn_(scale.ratio());
    if (window_.isVisible())
        shapeWindow();
}

QImage StageFigure::dressed(const QString& name, const QWidget& part) const {
    const FigureScale& scale = outline_->scale();
    const QPoint at = layout_.design(part).topLeft();
    QImage picture = AssetCatalogue::bitmap(name, scale.ratio(), kBodyRegion, at);
    if (picture.isNull())
        return picture;
    const QPoint shown = (QPointF(part.pos()) * scale.device).toPoint();
    const QPoint own = (QPointF(at) * scale.ratio()).toPoint();
    if (shown != own) {
        // Her size rounded the part's place: the picture keeps its own place on her, and her
        // stage picture fills the pixels between, as it would show there.
        QImage onStage = image_.pixmap()
                             .toImage()
                             .copy(QRect(shown, picture.size()))
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        onStage.setDevicePixelRatio(1);
        picture.setDevicePixelRatio(1);
        QPainter(&onStage).drawImage(own - shown, picture);
        picture = onStage;
    }
    return outline_->dressed(picture, shown);
}

QImage StageFigure::picture() const {
    QImage stage = image_.pixmap().toImage();
    stage.setDevicePixelRatio(outline_->ratio());
    return stage;
}
