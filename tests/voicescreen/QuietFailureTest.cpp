// With no sound server at all her voice fails quietly: no hang and no bell instead.
#include "BellWatch.h"
#include "platform/PulseSoundOutput.h"
#include "support/harness/PulseSession.h"
#include "support/fixtures/TestApplication.h"
#include "support/harness/XSession.h"
#include "voice/VoicePlayer.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(QuietFailure, WithNoSoundServerNothingWaitsAndNothingBeeps) {
    screenApplication();
    ASSERT_TRUE(screenSession().ok()) << "Xvfb did not start";
    BellWatch watch(screenSession().display());
    ASSERT_TRUE(watch.ok()) << "the X server reports no bells";
    // The watch hears a bell when there is one.
    QApplication::beep();
    ASSERT_TRUE(eventually([&] { return watch.bells() == 1; }, 20000));

    PulseSession nowhere;
    nowhere.useInThisProcess();
    QElapsedTimer timer;
    timer.start();
    {
        PulseSoundOutput output;
        VoicePlayer player(output);
        EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Jikan1")));
        EXPECT_FALSE(player.playVoice(QStringLiteral("Snd_Nothing")));
        player.stopVoice();
    }
    EXPECT_LT(timer.elapsed(), 1000);
    QThread::msleep(300);
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.bells(), 1);
}

} // namespace
