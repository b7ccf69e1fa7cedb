// One simulated month of her life, as fast as it runs: her window and balloon built with a
// fake wall clock, fake timers and a fake sound output, and her clock loop (TClocker) run on
// this thread over every second of it. Each second the dial is painted, each minute
// composed; her schedules and anniversaries fall due and are announced, she grows lonely
// and is touched now and then. Prints the time taken and the resident memory after the
// first hour, the first day, half-way and at the end, tab-separated, then what she did.
//   month-bench [days]   (default 31; no display needed, it runs offscreen)
#include "app/MainStage.h"
#include "app/SettingsStore.h"
#include "character/Loneliness.h"
#include "clock/ClockHost.h"
#include "clock/DialBox.h"
#include "clock/TClocker.h"
#include "events/StageEvents.h"
#include "platform/HiveRegistry.h"
#include "platform/RandomSource.h"
#include "platform/SecondWaiter.h"
#include "platform/SoundOutput.h"
#include "platform/UiPoster.h"
#include "support/fakes/FakeBeeper.h"
#include "support/fakes/FakeClockHost.h"
#include "support/fakes/FakeKeys.h"
#include "support/fakes/FakeRandomSource.h"
#include "support/fakes/FakeSecondWaiter.h"
#include "support/fakes/FakeTimeline.h"
#include "support/fakes/FakeWallClock.h"
#include "voice/TMessageBalloon.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace std::chrono;

// Touches come a little after she has begun to call, or to cry, by turns; chance smiles
// restart her wait and move the rest about.
constexpr int kPatienceSeconds = 5 * 60;
constexpr int kTouchAfterCall = kPatienceSeconds + 30;
constexpr int kTouchAfterCry = kPatienceSeconds + 90;
// A clip sounds this many seconds, so that a call that comes meanwhile finds it busy.
constexpr int kClipSeconds = 3;

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

LocalTime localTime(sys_seconds at) {
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss clock(at - day);
    LocalTime t;
    t.year = int(date.year());
    t.month = int(unsigned(date.month()));
    t.day = int(unsigned(date.day()));
    t.dayOfWeek = int(weekday(day).c_encoding());
    t.hour = int(clock.hours().count());
    t.minute = int(clock.minutes().count());
    t.second = int(clock.seconds().count());
    return t;
}

// Sounds each clip for a few ticks of the simulated clock.
class BenchSound : public SoundOutput {
public:
    bool play(const PcmClip&) override {
        if (left_ > 0)
            return false;
        ++plays;
        left_ = kClipSeconds;
        return true;
    }
    void stop() override { left_ = 0; }
    bool isSounding() const override { return left_ > 0; }
    void tick() {
        if (left_ > 0)
            --left_;
    }
    long plays = 0;

private:
    int left_ = 0;
};

// Her chance smile from a fixed seed, so that every run is the same month.
class FixedRandom : public SeededRandomSource {
public:
    void seedFromClock() override {}
};

// The clock loop's calls, made at once on this thread; each second's refresh is painted into
// an image as her window would paint it on the screen.
class BenchHost : public ClockHost {
public:
    explicit BenchHost(MainStage& stage)
        : stage_(stage), canvas_(128, 128, QImage::Format_ARGB32_Premultiplied) {}
    void composeDial(int hour, int minute) override {
        stage_.dial().composeDial(hour, minute);
        ++compositions;
    }
    void showDial(int second) override {
        stage_.dial().showDial(second);
        QPainter painter(&canvas_);
        stage_.dial().MojibanBoxPaint(painter);
        ++paints;
    }
    void checkKinenbi(int month, int day) override { stage_.events().checkKinenbi(month, day); }
    void checkYotei(int month, int day, int hour, int minute) override {
        stage_.events().checkYotei(month, day, hour, minute);
    }
    void setApplicationTitle(const QString& text) override { stage_.setWindowTitle(text); }
    long compositions = 0;
    long paints = 0;

private:
    MainStage& stage_;
    QImage canvas_;
};

// Each wait is one second of the month: the wall clock and the timers move on, the posted
// calls run, and now and then someone touches her.
class MonthWaiter : public SecondWaiter {
public:
    MonthWaiter(sys_seconds start, long seconds, FakeWallClock& clock, FakeTimeline& timers,
                BenchSound& sound, MainStage& stage, const TMessageBalloon& balloon)
        : at_(start), seconds_(seconds), clock_(clock), timers_(timers), sound_(sound),
          stage_(stage), balloon_(balloon), started_(steady_clock::now()) {
        clock_.set(localTime(at_));
    }

    bool waitForNextSecond() override {
        if (++tick_ >= seconds_)
            return false;
        at_ += seconds(1);
        clock_.set(localTime(at_));
        timers_.advance(1000);
        sound_.tick();
        if (tick_ == nextTouch_) {
            const int lonely = stage_.loneliness().stage();
            if (lonely == Loneliness::kCalledOnce || lonely == Loneliness::kCalledTwice)
                ++comforts;
            stage_.loneliness().userTouched();
            ++touches;
            nextTouch_ += touches % 2 ? kTouchAfterCry : kTouchAfterCall;
        }
        QCoreApplication::processEvents();
        const int lonely = stage_.loneliness().stage();
        if (lonely != lonely_) {
            calls += lonely == Loneliness::kCalledOnce;
            cries += lonely == Loneliness::kCalledTwice;
            lonely_ = lonely;
        }
        const bool showing = balloon_.isVisible();
        if (showing && !balloonShowing_)
            ++announcements;
        balloonShowing_ = showing;
        // The first day has shown the balloon, announced, called, cried and smiled: what
        // the month allocates once is in by its end.
        if (tick_ == 3600)
            checkpoint("first hour");
        else if (tick_ == 86400)
            checkpoint("first day");
        else if (tick_ == seconds_ / 2)
            checkpoint("middle");
        return true;
    }
    void interrupt() override {}
    void wake() override {}

    void checkpoint(const char* name) const {
        const double elapsed = duration<double>(steady_clock::now() - started_).count();
        std::printf("checkpoint\t%s\t%.2f\t%.2f\t%ld\n", name, double(tick_) / 86400, elapsed,
                    residentKb());
        std::fflush(stdout);
    }

    long touches = 0;
    long comforts = 0;
    long calls = 0;
    long cries = 0;
    long announcements = 0;

private:
    sys_seconds at_;
    long seconds_;
    long tick_ = 0;
    FakeWallClock& clock_;
    FakeTimeline& timers_;
    BenchSound& sound_;
    MainStage& stage_;
    const TMessageBalloon& balloon_;
    steady_clock::time_point started_;
    bool balloonShowing_ = false;
    long nextTouch_ = kTouchAfterCall;
    int lonely_ = Loneliness::kWaiting;
};

// A month of schedules, anniversaries and a short patience.
StageSettings monthSettings() {
    StageSettings settings;
    auto schedule = [&](int slot, int month, int day, int hour, int minute) {
        EventSlot& s = settings.schedules[slot];
        s.used = true;
        s.month = month;
        s.day = day;
        s.hour = hour;
        s.minute = minute;
    };
    schedule(0, 0, 0, 7, 30);   // every day
    schedule(1, 0, 0, 12, 0);   // every day
    schedule(2, 3, 15, 18, 45); // once
    auto anniversary = [&](int slot, int month, int day) {
        EventSlot& a = settings.anniversaries[slot];
        a.used = true;
        a.month = month;
        a.day = day;
    };
    anniversary(0, 3, 10);
    anniversary(1, 0, 20); // every month
    anniversary(2, 3, 31);
    // Short, as her chance smiles, each about nine minutes apart, start the wait afresh.
    settings.samiLim = kPatienceSeconds;
    return settings;
}

} // namespace

int main(int argc, char** argv) {
    const long days = argc > 1 ? std::atol(argv[1]) : 31;
    if (days < 1) {
        std::fprintf(stderr, "usage: month-bench [days]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    HiveRegistry registry(folder.path() + QStringLiteral("/user.reg"));
    const StageSettings settings = monthSettings();
    if (!saveSettings(registry, settings, {settings.FormLeft, settings.FormTop}))
        return 1;

    FakeKeys keys;
    FakeWallClock clock;
    BenchSound sound;
    FakeTimeline timers;
    FixedRandom random;
    FakeBeeper beeper;
    // Her own clock thread is never started: the bench runs one of its own.
    ParkingWaiter parked;
    QtUiPoster uiPoster;
    const sys_seconds start = sys_days(year(2026) / March / 1);
    clock.set(localTime(start));
    long touches = 0;
    long comforts = 0;
    long calls = 0;
    long cries = 0;
    long announcements = 0;
    long compositions = 0;
    long paints = 0;
    {
        MainStage stage({registry, keys, clock, parked, uiPoster, sound, timers, random, beeper});
        BenchHost host(stage);
        MonthWaiter waiter(start, days * 86400, clock, timers, sound, stage, stage.balloon());
        TClocker clocker(host, clock, waiter);
        clocker.execute();
        waiter.checkpoint("end");
        touches = waiter.touches;
        comforts = waiter.comforts;
        calls = waiter.calls;
        cries = waiter.cries;
        announcements = waiter.announcements;
        compositions = host.compositions;
        paints = host.paints;
    }
    std::printf("seconds\t%ld\n", days * 86400);
    std::printf("paints\t%ld\n", paints);
    std::printf("compositions\t%ld\n", compositions);
    std::printf("announcements\t%ld\n", announcements);
    std::printf("clips\t%ld\n", sound.plays);
    std::printf("lonely calls\t%ld\n", calls);
    std::printf("cries\t%ld\n", cries);
    std::printf("touches\t%ld\n", touches);
    std::printf("comforts\t%ld\n", comforts);
    // A month in which nothing was shown, heard or comforted did not run her parts at all.
    return paints > 0 && announcements > 0 && sound.plays > 0 && comforts > 0 ? 0 : 1;
}
