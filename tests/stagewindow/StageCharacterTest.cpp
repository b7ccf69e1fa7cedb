// Her faces and her loneliness inside her window: the seeding, the patience menu, the debug
// controls and what a change of face repaints. Timers, sound and dice are fakes.
#include "character/Faces.h"
#include "character/Loneliness.h"
#include "platform/StageTimer.h"
#include "stage/AssetCatalogue.h"
#include "stage/StageOutline.h"
#include "support/fixtures/QtPrinters.h"
#include "support/fixtures/StageFixture.h"
#include "voice/WaveImage.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <map>

namespace {

constexpr long long kSecond = 1000;
const QRect kFaceFrame(15, 9, 128, 128);

// Which of her windows' widgets were painted, and where.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& window) {
        QList<QWidget*> widgets = window.findChildren<QWidget*>();
        widgets << &window;
        for (QWidget* widget : widgets)
            widget->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted[watched->objectName().toStdString()] +=
                static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    std::map<std::string, QRegion> painted;
};

class StageCharacter : public StageFixture {
protected:
    QPushButton& button(const char* name) const {
        return *stage->findChild<QPushButton*>(QLatin1String(name));
    }
    QCheckBox& NakuTest() const {
        return *stage->findChild<QCheckBox*>(QStringLiteral("NakuTest"));
    }
    void debugMode() {
        keys.held = {KeyState::Key::Control, KeyState::Key::Shift};
        openMenu();
        pick(item("MIDebugMode"));
        keys.held.clear();
    }
    // The clips she has said, by name; each one ends before the next call.
    std::vector<std::string> said() {
        std::vector<std::string> names;
        for (const PcmClip& clip : sound.played) {
            std::string name = "?";
            for (const char* known : {"Snd_Matsu1", "Snd_Matsu2"}) {
                const auto wave = WaveImage::parse(AssetCatalogue::clip(QLatin1String(known)));
                if (wave && wave->samples.data() == clip.samples.data())
                    name = known;
            }
            names.push_back(name);
        }
        sound.finishClip();
        return names;
    }
    QImage face() const {
        const QImage* bitmap = stage->faces().faceBitmap();
        return bitmap ? *bitmap : QImage();
    }
    // A picture at the face frame as her window shows it: transparent outside her outline.
    QImage picture(const char* name) const {
        QImage image = AssetCatalogue::bitmap(QString::fromLatin1(name));
        if (image.size() != kFaceFrame.size())
            image = image.copy(kFaceFrame);
        return stage->outline().dressed(image, kFaceFrame.topLeft());
    }
    QImage grabbedFace() const {
        return stage->grab(kFaceFrame)
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    const StageTimer& SamishiiTimer() const { return stage->loneliness().timer(); }
    void storeSamiLim(qint32 seconds) {
        StageSettings settings;
        settings.samiLim = seconds;
        store(settings);
    }
};

TEST_F(StageCharacter, HerWindowSeedsTheDiceOnceAndItsFirstRebuildCounts) {
    create();
    EXPECT_EQ(random.seeds, 1);
    EXPECT_EQ(random.draws, 0);
    EXPECT_EQ(stage->faces().smileCount(), 1);
    // The default hour of patience is ticked and already counting.
    EXPECT_EQ(checkedIn("MIGaman"), item("MIGaman4"));
    EXPECT_TRUE(SamishiiTimer().isActive());
    EXPECT_EQ(SamishiiTimer().interval(), 3600000);
}

TEST_F(StageCharacter, AStoredHundredSecondsCallsAfterAHundredSecondsWithNoItemTicked) {
    storeSamiLim(100);
    create();
    EXPECT_EQ(checkedIn("MIGaman"), nullptr);
    timers.advance(100 * kSecond - 1);
    EXPECT_TRUE(said().empty());
    timers.advance(1);
    EXPECT_EQ(said(), std::vector<std::string>{"Snd_Matsu1"});
    EXPECT_EQ(face(), picture("Face2"));
}

TEST_F(StageCharacter, ChoosingAPatienceTicksItsItemAndRestartsTheWait) {
    start();
    timers.advance(1000 * kSecond);
    // Choosing the ticked item again restarts the wait too.
    for (int twice = 0; twice < 2; ++twice) {
        openMenu();
        pick(item("MIGaman1"));
        EXPECT_EQ(stage->settings().samiLim, 600);
        EXPECT_EQ(checkedIn("MIGaman"), item("MIGaman1"));
        timers.advance(300 * kSecond);
    }
    timers.advance(300 * kSecond - 1);
    EXPECT_TRUE(said().empty());
    timers.advance(1);
    EXPECT_EQ(said(), std::vector<std::string>{"Snd_Matsu1"});
}

TEST_F(StageCharacter, OpeningTheMenuComfortsHerAndTheOffItemStopsTheTimer) {
    storeSamiLim(600);
    start();
    timers.advance(600 * kSecond);
    ASSERT_EQ(face(), picture("Face2"));
    openMenu();
    EXPECT_EQ(stage->faces().faceBitmap(), nullptr);
    pick(item("MIGaman0"));
    EXPECT_EQ(stage->settings().samiLim, 0);
    EXPECT_FALSE(SamishiiTimer().isActive());
    timers.advance(24 * 3600 * kSecond);
    EXPECT_EQ(said(), std::vector<std::string>{"Snd_Matsu1"});
    EXPECT_EQ(stage->faces().faceBitmap(), nullptr);
}

TEST_F(StageCharacter, TheDebugButtonsStepTheFacesAndRollTheDice) {
    create();
    debugMode();
    const int interval = SamishiiTimer().interval();
    // The face button leaves the loneliness timer alone.
    for (const char* expected : {"Face2", "Face3", ""}) {
        button("FaceTest").click();
        EXPECT_EQ(face(), *expected ? picture(expected) : QImage()) << expected;
    }
    EXPECT_EQ(SamishiiTimer().interval(), interval);
    EXPECT_EQ(stage->loneliness().stage(), Loneliness::kWaiting);

    // The window's first rebuild counted once: the second press rolls, and fails.
    random.script = {0, 1};
    for (int press = 0; press < 5; ++press)
        button("RandomFace1").click();
    EXPECT_EQ(random.draws, 2);
    EXPECT_EQ(beeper.beeps, 4);
    EXPECT_EQ(face(), picture("Face1"));
    EXPECT_EQ(stage->loneliness().stage(), Loneliness::kSmiling);
}

TEST_F(StageCharacter, NakuTestCheckedWhileSheLaughsTurnsTheLaughIntoACallFiveSecondsLater) {
    create();
    debugMode();
    random.script = {1};
    stage->faces().tryRandomSmile();
    ASSERT_TRUE(stage->faces().tryRandomSmile());
    EXPECT_EQ(SamishiiTimer().interval(), 20000);
    timers.advance(10 * kSecond);
    NakuTest().click();
    ASSERT_TRUE(NakuTest().isChecked());
    EXPECT_EQ(stage->loneliness().stage(), Loneliness::kWaiting);
    EXPECT_EQ(face(), picture("Face1"));
    timers.advance(5 * kSecond - 1);
    EXPECT_EQ(face(), picture("Face1"));
    timers.advance(1);
    EXPECT_EQ(said(), std::vector<std::string>{"Snd_Matsu1"});
    EXPECT_EQ(face(), picture("Face2"));
}

TEST_F(StageCharacter, ASmileHoldsItsTwentySecondsWithLonelinessOffAndNakuTestChecked) {
    storeSamiLim(0);
    create();
    debugMode();
    NakuTest().click();
    EXPECT_FALSE(SamishiiTimer().isActive());
    random.script = {4};
    stage->faces().tryRandomSmile();
    ASSERT_TRUE(stage->faces().tryRandomSmile());
    EXPECT_TRUE(SamishiiTimer().isActive());
    EXPECT_EQ(SamishiiTimer().interval(), 20000);
    EXPECT_EQ(stage->loneliness().stage(), Loneliness::kSmiling);
    timers.advance(20 * kSecond);
    EXPECT_EQ(stage->faces().faceBitmap(), nullptr);
    EXPECT_FALSE(SamishiiTimer().isActive());
}

TEST_F(StageCharacter, AChangeOfFaceRepaintsTheFrameAloneAndAPressOnItIsATouch) {
    start();
    stage->faces().setFace(2);
    QCoreApplication::processEvents();
    PaintWatch watch(*stage);
    stage->faces().setFace(3);
    ASSERT_EQ(watch.painted.size(), 1u);
    EXPECT_EQ(watch.painted.begin()->first, "FaceFrame");
    // All of the frame that lies inside her outline.
    EXPECT_EQ(watch.painted.begin()->second,
              stage->mask().translated(-kFaceFrame.topLeft()) & QRect(0, 0, 128, 128));
    EXPECT_EQ(grabbedFace(), picture("Face3"));

    // The frame lets the press through to her window, where it comforts her.
    const QPoint head = kFaceFrame.center();
    EXPECT_EQ(stage->childAt(head), nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, head, stage->mapToGlobal(head), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(stage.get(), &press);
    EXPECT_EQ(stage->faces().faceBitmap(), nullptr);
    EXPECT_EQ(grabbedFace(), picture("Stage"));
}

class MeaninglessPatience : public StageCharacter, public ::testing::WithParamInterface<qint32> {};

TEST_P(MeaninglessPatience, IsKeptAsWrittenAndNeverRushes) {
    storeSamiLim(GetParam());
    create();
    timers.advance(7 * 24 * 3600 * kSecond);
    EXPECT_TRUE(said().empty());
    stage->close();
    EXPECT_EQ(storedDword(QStringLiteral("samiLim")), std::optional<quint32>(quint32(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(StoredByHand, MeaninglessPatience, ::testing::Values(-5, 3000000));

} // namespace
