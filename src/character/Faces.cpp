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
    : FaceFrame(FaceFrame), random_(random), beeper_(beeper), smileBegins_(std::move(smileBegins)),
      bitmaps_(bitmaps ? std::move(bitmaps) : BitmapSource(&AssetCatalogue::bitmap)) {}

Faces::~Faces() = default;

void Faces::SetFace(int index) {
    if (index <= 0) {
        // The picture beneath shows her own face again.
        FaceFrame.hide();
        FaceBitmap.reset();
        return;
    }
    const QString name = faceName(index);
    if (name.isEmpty())
        return;
    if (!FaceBitmap)
        FaceBitmap = std::make_unique<QImage>();
    *FaceBitmap = bitmaps_(name);
    // An opaque frame repaints alone, without the picture beneath; a missing or smaller
    // picture lets her own face show through instead of leaving stale pixels.
    const QSize size = FaceBitmap->size();
    FaceFrame.setAttribute(Qt::WA_OpaquePaintEvent, size.width() >= FaceFrame.width() &&
                                                        size.height() >= FaceFrame.height());
    if (FaceFrame.isHidden())
        FaceFrame.show();
    else
        FaceFrame.repaint();
}

void Faces::FaceFramePaint(QPainter& painter) {
    if (FaceBitmap)
        painter.drawImage(QPoint(0, 0), *FaceBitmap);
}

bool Faces::TryRandomSmile() {
    if (++SmileCount < 3)
        return false;
    SmileCount = 0;
    if (random_.next() % 3 != 1)
        return false;
    smileBegins_();
    SetFace(1);
    return true;
}

void Faces::FaceTestClick() {
    if (++FaceTestCount > 3)
        FaceTestCount = 0;
    SetFace(FaceTestCount);
}

void Faces::RandomFace1Click() {
    if (!TryRandomSmile())
        beeper_.beep();
}
