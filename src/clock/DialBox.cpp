#include "clock/DialBox.h"

#include "clock/PaintRegionRecorder.h"
#include "clock/RepaintTrace.h"
#include "clock/StaleDialArea.h"
#include "platform/WallClock.h"
#include "shared/StageSettings.h"
#include "stage/AssetCatalogue.h"
#include "stage/MenuItem.h"
#include "stage/PaintBox.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

DialBox::DialBox(PaintBox& MojibanBox, QRect design, const QImage& backdrop,
                 StageSettings& settings, const WallClock& clock, StagePopupMenu& menu, Hooks hooks)
    : box_(MojibanBox), design_(design), settings_(settings), clock_(clock),
      hooks_(std::move(hooks)), backdrop_(backdrop) {
    makeDial(backdrop_.devicePixelRatio());
    // Each paint covers the whole box, so the stage picture beneath is not painted again
    // every second.
    box_.setAttribute(Qt::WA_OpaquePaintEvent);
    stale_ = std::make_unique<StaleDialArea>(QRect(QPoint(0, 0), box_.size()));
    paintRegion_ = new PaintRegionRecorder(&box_);
    box_.installEventFilter(paintRegion_);
    MenuItem::flag(menu, "MIDigiAna", QT_TRANSLATE_NOOP("StagePopupMenu", "デジタル表示(&D)"),
                   settings_.AnaDigi, false, [this] { showNow(); });
    MenuItem::flag(menu, "MIAmPm",
                   QT_TRANSLATE_NOOP("StagePopupMenu", "12時間制[デジタル表示時](&H)"),
                   settings_.DigiAMPM, true, [this] { showNow(); });
}

void DialBox::makeDial(qreal ratio) {
    using GlyphList = AssetCatalogue::GlyphList;
    // The digital face is read when it is first shown: most never switch, and reading it is
    // a good part of her start.
    digitalFaceRead_ = !mode().analog;
    const QSize size = design_.size();
    const DigitLayout layout = DigitLayout::compute(
        AssetCatalogue::glyphSize(GlyphList::DigiNumber),
        AssetCatalogue::glyphSize(GlyphList::DigiNumSmall),
        AssetCatalogue::glyphSize(GlyphList::AmPm), QPoint(size.width() / 2, size.height() / 2));
    dial_ = std::make_unique<Dial>(
        design_,
        Dial::Pictures{.stage = backdrop_,
                       .analogFace = AssetCatalogue::maskedBitmap(QStringLiteral("Mojiban"), ratio),
                       .digitalFace = digitalFaceRead_ ? AssetCatalogue::maskedBitmap(
                                                             QStringLiteral("MojibanDigi"), ratio)
                                                       : QImage()},
        AssetCatalogue::drawGlyph, layout, ratio);
}

void DialBox::setDeviceRatio(qreal ratio, const QImage& backdrop) {
    if (!backdrop.isNull())
        backdrop_ = backdrop;
    else if (qFuzzyCompare(ratio, dial_->ratio()))
        return;
    makeDial(ratio);
    // The same time anew: nothing the rebuilt hook should answer.
    dial_->compose(hour_, minute_, mode());
    stale_ = std::make_unique<StaleDialArea>(QRect(QPoint(0, 0), box_.size()));
    box_.update();
}

QRect DialBox::inBox(const QRect& design) const {
    const qreal size = qreal(box_.width()) / design_.width();
    if (qFuzzyCompare(size, 1))
        return design;
    const int left = int(std::floor(design.x() * size));
    const int top = int(std::floor(design.y() * size));
    return QRect(left, top, int(std::ceil((design.x() + design.width()) * size)) - left,
                 int(std::ceil((design.y() + design.height()) * size)) - top);
}

DialBox::~DialBox() = default;

DialMode DialBox::mode() const {
    return {settings_.AnaDigi, settings_.DigiAMPM};
}

void DialBox::composeDial(int hour, int minute) {
    hour_ = hour;
    minute_ = minute;
    if (!mode().analog && !digitalFaceRead_)
        makeDial(dial_->ratio());
    dial_->compose(hour, minute, mode());
    stale_->imageRebuilt();
    if (hooks_.rebuilt)
        hooks_.rebuilt();
}

void DialBox::showDial(int second) {
    showingSecond_ = second;
    box_.repaint(stale_->refreshFor(inBox(dial_->secondsArea(second, mode()))));
    showingSecond_ = -1;
}

void DialBox::MojibanBoxPaint(QPainter& painter) {
    const bool perSecond = showingSecond_ >= 0;
    const int second = perSecond ? showingSecond_ : clock_.now().second;
    const DialMode dialMode = mode();
    const QImage shown = dial_->frameAt(second, dialMode);
    // Device pixel for device pixel, whatever her size.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    // Transparent pixels too replace what was there, for a window with an alpha channel.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // In bands: a larger piece under the window's shaped clip would have the raster
    // engine wake its helper threads, every second, for a 128 x 128 copy.
    constexpr int kBandRows = 16; // device rows
    for (int top = 0; top < shown.height(); top += kBandRows) {
        const int rows = std::min(kBandRows, shown.height() - top);
        painter.drawImage(QRectF(0, top / ratio, shown.width() / ratio, rows / ratio), shown,
                          QRectF(0, top, shown.width(), rows));
    }
    stale_->painted(paintRegion_->region(), inBox(dial_->secondsArea(second, dialMode)));
    if (perSecond)
        RepaintTrace::mark();
    if (hooks_.painted)
        hooks_.painted();
}

void DialBox::showNow() {
    const LocalTime now = clock_.now();
    composeDial(now.hour, now.minute);
    showDial(now.second);
}

void DialBox::DateTimePicker1Change(QTime time) {
    composeDial(time.hour(), time.minute());
}

void DialBox::setScreenSaved(bool saved) {
    box_.setUpdatesEnabled(!saved);
}

QImage DialBox::screen() const {
    return dial_->frameAt(clock_.now().second, mode());
}
