#include "stage/AssetCatalogue.h"

#include <QFile>
#include <QRegion>
#include <gtest/gtest.h>

namespace {

struct ExpectedBitmap {
    const char* name;
    QSize size;
    bool mask;
};

const ExpectedBitmap bitmaps[] = {
    {"Stage", {158, 452}, false},
    {"Face1", {128, 128}, false},
    {"Face2", {128, 128}, false},
    {"Face3", {128, 128}, false},
    {"Mojiban", {128, 128}, false},
    {"MojibanMask", {128, 128}, true},
    {"MojibanDigi", {128, 128}, false},
    {"MojibanDigiMask", {128, 128}, true},
    {"ProgramIcon", {79, 79}, false},
    {"DigiNumber", {24 * 13, 48}, false},
    {"DigiNumberMask", {24 * 13, 48}, true},
    {"DigiNumSmall", {16 * 13, 32}, false},
    {"DigiNumSmallMask", {16 * 13, 32}, true},
    {"AmPm", {64 * 2, 16}, false},
    {"AmPmMask", {64 * 2, 16}, true},
};

} // namespace

// The resources live in a static library; these fail if they were not linked in.
TEST(AssetLookup, findsNamesInAnyLetterCase) {
    for (const QString name : {"Face1", "FACE1", "face1", "fAcE1"})
        EXPECT_EQ(AssetCatalogue::bitmap(name), AssetCatalogue::bitmap("Face1"))
            << name.toStdString();
    EXPECT_FALSE(AssetCatalogue::bitmap("Face1").isNull());

    const QByteArrayView clip = AssetCatalogue::clip("Snd_Kinenbi2");
    ASSERT_FALSE(clip.isEmpty());
    for (const QString name : {"SND_KINENBI2", "snd_kinenbi2", "sNd_KiNeNbI2"})
        EXPECT_EQ(AssetCatalogue::clip(name).data(), clip.data()) << name.toStdString();
    EXPECT_NE(AssetCatalogue::clip("Snd_Kinenbi1").data(), clip.data());
}

TEST(AssetLookup, reportsWhatIsMissing) {
    EXPECT_TRUE(AssetCatalogue::bitmap("Face4").isNull());
    EXPECT_TRUE(AssetCatalogue::bitmap("").isNull());
    EXPECT_TRUE(AssetCatalogue::bitmap("Stage.png").isNull());
    EXPECT_TRUE(AssetCatalogue::clip("Snd_Jikan5").isEmpty());
    EXPECT_TRUE(AssetCatalogue::clip("").isEmpty());
    EXPECT_FALSE(AssetCatalogue::region(0));
    EXPECT_FALSE(AssetCatalogue::region(3));
    EXPECT_FALSE(AssetCatalogue::region(-1));
}

TEST(AssetLookup, clipBytesStayInPlace) {
    for (const QString& name : AssetCatalogue::clipNames()) {
        const QByteArrayView first = AssetCatalogue::clip(name);
        ASSERT_GT(first.size(), 44) << name.toStdString();
        EXPECT_TRUE(first.startsWith("RIFF")) << name.toStdString();
        const QByteArrayView again = AssetCatalogue::clip(name.toUpper());
        EXPECT_EQ(again.data(), first.data()) << name.toStdString();
        EXPECT_EQ(again.size(), first.size()) << name.toStdString();
    }
}

TEST(AssetLookup, bitmapsHaveTheirSizesAndFormats) {
    for (const ExpectedBitmap& expected : bitmaps) {
        const QImage image = AssetCatalogue::bitmap(expected.name);
        ASSERT_FALSE(image.isNull()) << expected.name;
        EXPECT_EQ(image.size(), expected.size) << expected.name;
        EXPECT_FALSE(image.hasAlphaChannel()) << expected.name;
        if (expected.mask) {
            // 1-bit, palette white then black.
            EXPECT_EQ(image.depth(), 1) << expected.name;
            ASSERT_EQ(image.colorCount(), 2) << expected.name;
            EXPECT_EQ(image.color(0), qRgb(255, 255, 255)) << expected.name;
            EXPECT_EQ(image.color(1), qRgb(0, 0, 0)) << expected.name;
        } else {
            EXPECT_GE(image.depth(), 24) << expected.name;
        }
    }
    const QImage icon = AssetCatalogue::bitmap("MainIcon");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.width(), icon.height());
    EXPECT_GE(icon.width(), 32);
}

TEST(AssetLookup, glyphListsMatchTheirStrips) {
    using List = AssetCatalogue::GlyphList;
    EXPECT_EQ(AssetCatalogue::glyphSize(List::DigiNumber), QSize(24, 48));
    EXPECT_EQ(AssetCatalogue::glyphSize(List::DigiNumSmall), QSize(16, 32));
    EXPECT_EQ(AssetCatalogue::glyphSize(List::AmPm), QSize(64, 16));
    EXPECT_EQ(AssetCatalogue::glyphCount(List::DigiNumber), 13);
    EXPECT_EQ(AssetCatalogue::glyphCount(List::DigiNumSmall), 13);
    EXPECT_EQ(AssetCatalogue::glyphCount(List::AmPm), 2);
}

TEST(AssetLookup, maskedImageTakesItsAlphaFromTheMask) {
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(10, 20, 30));
    picture.setPixel(1, 0, qRgb(40, 50, 60));
    picture.setPixel(2, 0, qRgb(70, 80, 90));
    QImage mask(3, 1, QImage::Format_Mono);
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mask.setPixel(0, 0, 1);
    mask.setPixel(1, 0, 0);
    mask.setPixel(2, 0, 1);
    const QImage masked = AssetCatalogue::maskedImage(picture, mask);
    ASSERT_TRUE(masked.hasAlphaChannel());
    EXPECT_EQ(masked.pixel(0, 0), qRgba(10, 20, 30, 255));
    EXPECT_EQ(qAlpha(masked.pixel(1, 0)), 0);
    EXPECT_EQ(masked.pixel(2, 0), qRgba(70, 80, 90, 255));

    EXPECT_TRUE(AssetCatalogue::maskedImage(picture, QImage(2, 1, QImage::Format_Mono)).isNull());
    EXPECT_TRUE(AssetCatalogue::maskedImage(QImage(), QImage()).isNull());
}

// The program links the same static library; its file must carry the clips' bytes as they are.
TEST(AssetLookup, programCarriesTheAssetsToo) {
    QFile program(QStringLiteral(HOURLING_BINARY));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly)) << HOURLING_BINARY;
    const QByteArray contents = program.readAll();
    for (const QString& name : AssetCatalogue::clipNames()) {
        const QByteArrayView clip = AssetCatalogue::clip(name);
        ASSERT_FALSE(clip.isEmpty()) << name.toStdString();
        EXPECT_TRUE(contents.contains(clip.first(4096))) << name.toStdString();
    }
}
