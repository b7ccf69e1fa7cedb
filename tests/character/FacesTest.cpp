// Her faces on a frame of their own, with a scripted random source; no display is needed.
#include "character/Faces.h"
#include "platform/RandomSource.h"
#include "stage/AssetCatalogue.h"
#include "stage/PaintBox.h"
#include "support/fakes/FakeRandomSource.h"
#include "support/fakes/FakeBeeper.h"
#include "support/fixtures/TestApplication.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

QImage picture(const char* name) {
    return AssetCatalogue::bitmap(QString::fromLatin1(name)).convertToFormat(QImage::Format_RGB32);
}

class FacesTest : public ::testing::Test {
protected:
    FacesTest() {
        frame->setGeometry(15, 9, 128, 128);
        frame->onPaint = [this](QPainter& painter) { faces.FaceFramePaint(painter); };
    }

    // The picture over her face; null while her own face shows.
    QImage shownPicture() const {
        const QImage* bitmap = faces.faceBitmap();
        return bitmap ? bitmap->convertToFormat(QImage::Format_RGB32) : QImage();
    }
    // What a paint of the frame draws.
    QImage framePainted() const {
        return frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    QApplication& app = testApplication();
    QWidget window;
    PaintBox* frame = new PaintBox(&window);
    FakeRandomSource random;
    FakeBeeper beeper;
    int smilesBegun = 0;
    Faces faces{*frame, random, beeper, [this] { ++smilesBegun; }};
};

TEST_F(FacesTest, AnIndexAboveThreeChangesNothing) {
    for (int index : {4, 100}) {
        faces.setFace(index);
        EXPECT_FALSE(frame->isHidden());
        EXPECT_EQ(faces.faceBitmap(), nullptr);
    }
    faces.setFace(2);
    const QImage* bitmap = faces.faceBitmap();
    for (int index : {4, 100}) {
        faces.setFace(index);
        EXPECT_FALSE(frame->isHidden());
        EXPECT_EQ(faces.faceBitmap(), bitmap);
        EXPECT_EQ(shownPicture(), picture("Face2"));
    }
}

TEST_F(FacesTest, ZeroOrLessHidesTheFrameAndLetsThePictureGo) {
    for (int index : {0, -1}) {
        // On a fresh frame, and over an expression.
        for (int before : {0, 2}) {
            SCOPED_TRACE(testing::Message() << "setFace(" << index << ") after " << before);
            if (before)
                faces.setFace(before);
            faces.setFace(index);
            EXPECT_TRUE(frame->isHidden());
            EXPECT_EQ(faces.faceBitmap(), nullptr);
            EXPECT_FALSE(faces.expressionShowing());
        }
    }
}

TEST_F(FacesTest, OneExpressionAfterAnotherKeepsOnePictureAndPaintsTheNewOneOpaque) {
    faces.setFace(2);
    ASSERT_FALSE(frame->isHidden());
    const QImage* bitmap = faces.faceBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(framePainted(), picture("Face2"));
    faces.setFace(3);
    EXPECT_EQ(faces.faceBitmap(), bitmap);
    EXPECT_EQ(shownPicture(), picture("Face3"));
    EXPECT_EQ(framePainted(), picture("Face3"));
    EXPECT_TRUE(frame->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(FacesTest, AMissingPictureLetsHerOwnFaceShowThroughAndTheExpressionStillCounts) {
    Faces missing(*frame, random, beeper, {}, [](const QString&) { return QImage(); });
    missing.setFace(2);
    EXPECT_TRUE(missing.expressionShowing());
    EXPECT_FALSE(frame->testAttribute(Qt::WA_OpaquePaintEvent));
    missing.setFace(0);
    EXPECT_FALSE(missing.expressionShowing());
}

struct Roll {
    int drawn;
    bool smiles;
};
void PrintTo(const Roll& roll, std::ostream* out) {
    *out << "drawn " << roll.drawn;
}

class SmileRoll : public FacesTest, public ::testing::WithParamInterface<Roll> {};

TEST_P(SmileRoll, TheThirdCallDrawsOnceAndSmilesWhenTheRemainderIsOne) {
    random.script = {GetParam().drawn};
    EXPECT_FALSE(faces.tryRandomSmile());
    EXPECT_FALSE(faces.tryRandomSmile());
    EXPECT_EQ(random.draws, 0);
    EXPECT_EQ(faces.tryRandomSmile(), GetParam().smiles);
    EXPECT_EQ(random.draws, 1);
    EXPECT_EQ(faces.smileCount(), 0);
    EXPECT_EQ(smilesBegun, GetParam().smiles ? 1 : 0);
    EXPECT_EQ(shownPicture(), GetParam().smiles ? picture("Face1") : QImage());
}

INSTANTIATE_TEST_SUITE_P(Remainders, SmileRoll,
                         ::testing::Values(Roll{0, false}, Roll{1, true}, Roll{2, false},
                                           Roll{4, true}, Roll{2147483647, true}));

TEST(SmileOdds, OneRollInThreeSucceedsForAnySeed) {
    testApplication();
    QWidget window;
    PaintBox* frame = new PaintBox(&window);
    FakeBeeper beeper;
    for (unsigned seed : {1u, 7u, 2026u, 123456789u}) {
        SeededRandomSource random(seed);
        int smiles = 0;
        Faces faces(
            *frame, random, beeper, [&] { ++smiles; },
            [](const QString&) { return QImage(128, 128, QImage::Format_RGB32); });
        constexpr int kRolls = 6000;
        for (int call = 0; call < 3 * kRolls; ++call) {
            faces.tryRandomSmile();
            faces.setFace(0);
        }
        EXPECT_NEAR(double(smiles) / kRolls, 1.0 / 3, 0.03) << "seed " << seed;
    }
}

TEST(SmileOdds, TheClockSeedsADifferentSequence) {
    SeededRandomSource fixed, fromClock;
    fromClock.seedFromClock();
    std::vector<int> a, b;
    for (int i = 0; i < 4; ++i) {
        a.push_back(fixed.next());
        b.push_back(fromClock.next());
        EXPECT_GE(b.back(), 0);
    }
    EXPECT_NE(a, b);
}

} // namespace
