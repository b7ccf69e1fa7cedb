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

DialBox::DialBox(PaintBox& MojibanBox, const QImage& backdrop, StageSettings& settings,
                 const WallClock& clock, StagePopupMenu& menu, Hooks hooks)
    : box_(MojibanBox), settings_(settings), clock_(clock), hooks_(std::move(hooks)),
      backdrop_(backdrop) {
    makeDial(box_.devicePixelRatio());
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
    const QSize size = box_.size();
    const DigitLayout layout = DigitLayout::compute(
        AssetCatalogue::glyphSize(GlyphList::DigiNumber),
        AssetCatalogue::glyphSize(GlyphList::DigiNumSmall),
        AssetCatalogue::glyphSize(GlyphList::AmPm), QPoint(size.width() / 2, size.height() / 2));
    dial_ = std::make_unique<Dial>(
        box_.geometry(),
        Dial::Pictures{.stage = backdrop_,
                       .analogFace = AssetCatalogue::maskedBitmap(QStringLiteral("Mojiban"), ratio),
                       .digitalFace =
                           AssetCatalogue::maskedBitmap(QStringLiteral("MojibanDigi"), ratio)},
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
    stale_->imageRebuilt();
    box_.update();
}

DialBox::~DialBox() = default;

DialMode DialBox::mode() const {
    return {settings_.AnaDigi, settings_.DigiAMPM};
}

void DialBox::composeDial(int hour, int minute) {
    hour_ = hour;
    minute_ = minute;
    dial_->compose(hour, minute, mode());
    stale_->imageRebuilt();
    if (hooks_.rebuilt)
        hooks_.rebuilt();
}

void DialBox::showDial(int second) {
    showingSecond_ = second;
    box_.repaint(stale_->refreshFor(dial_->secondsArea(second, mode())));
    showingSecond_ = -1;
}

void DialBox::MojibanBoxPaint(QPainter& painter) {
    const bool perSecond = showingSecond_ >= 0;
    const int second = perSecond ? showingSecond_ : clock_.now().second;
    const DialMode dialMode = mode();
    const QImage shown = dial_->frameAt(second, dialMode);
    const qreal ratio = shown.devicePixelRatio();
    // Transparent pixels too replace what was there, for a window with an alpha channel.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    // In bands: a larger piece under the window's shaped clip would have the raster
    // engine wake its helper threads, every second, for a 128 x 128 copy.
    constexpr int kBandRows = 16; // device rows
    for (int top = 0; top < shown.height(); top += kBandRows)
        painter.drawImage(QPointF(0, top / ratio), shown,
                          QRect(0, top, shown.width(), std::min(kBandRows, shown.height() - top)));
    stale_->painted(paintRegion_->region(), dial_->secondsArea(second, dialMode));
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
