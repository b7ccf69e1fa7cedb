#include "character/Faces.h"

#include "platform/Beeper.h"
#include "platform/RandomSource.h"
#include "stage/AssetCatalogue.h"
#include "stage/PaintBox.h"

#include <QPainter>

namespace {
QString faceName(int index) {
    switch (index) {
    case 1:
        return QStringLiteral("Face1");
    case 2:
        return QStringLiteral("Face2");
    case 3:
        return QStringLiteral("Face3");
    default:
        return {};
    }
}
} // namespace

Faces::Faces(PaintBox& FaceFrame, RandomSource& random, Beeper& beeper,
             std::function<void()> smileBegins, BitmapSource bitmaps)
    : faceFrame_(FaceFrame), random_(random), beeper_(beeper), smileBegins_(std::move(smileBegins)),
      bitmaps_(bitmaps ? std::move(bitmaps) : BitmapSource([](const QString& name) {
          return AssetCatalogue::bitmap(name);
      })) {}

Faces::~Faces() = default;

void Faces::setFace(int index) {
    if (index <= 0) {
        // The picture beneath shows her own face again.
        faceFrame_.hide();
        faceBitmap_.reset();
        faceIndex_ = 0;
        return;
    }
    const QString name = faceName(index);
    if (name.isEmpty())
        return;
    if (!faceBitmap_)
        faceBitmap_ = std::make_unique<QImage>();
    *faceBitmap_ = bitmaps_(name);
    faceIndex_ = index;
    // An opaque frame repaints alone, without the picture beneath; a missing or smaller
    // picture lets her own face show through instead of leaving stale pixels.
    const QSizeF size = faceBitmap_->deviceIndependentSize();
    faceFrame_.setAttribute(Qt::WA_OpaquePaintEvent, size.width() >= faceFrame_.width() &&
                                                         size.height() >= faceFrame_.height());
    if (faceFrame_.isHidden())
        faceFrame_.show();
    else
        faceFrame_.repaint();
}

void Faces::redress() {
    if (faceBitmap_)
        setFace(faceIndex_);
}

void Faces::FaceFramePaint(QPainter& painter) {
    if (!faceBitmap_)
        return;
    // A picture that covers the frame brings its own pixels outside her outline, where her
    // window is transparent, and replaces what lies beneath.
    if (faceFrame_.testAttribute(Qt::WA_OpaquePaintEvent))
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), *faceBitmap_);
}

void Faces::dialRebuilt() {
    if (!expressionShowing())
        tryRandomSmile();
}

bool Faces::tryRandomSmile() {
    if (++smileCount_ < 3)
        return false;
    smileCount_ = 0;
    if (random_.next() % 3 != 1)
        return false;
    smileBegins_();
    setFace(1);
    return true;
}

void Faces::FaceTestClick() {
    if (++faceTestCount_ > 3)
        faceTestCount_ = 0;
    setFace(faceTestCount_);
}

void Faces::RandomFace1Click() {
    if (!tryRandomSmile())
        beeper_.beep();
}
