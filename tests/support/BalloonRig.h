#pragma once

#include "stage/StageStacking.h"
#include "support/BalloonControls.h"
#include "support/FakeSoundOutput.h"
#include "voice/MinimizeWatch.h"
#include "voice/TMessageBalloon.h"
#include "voice/VoicePlayer.h"
#include "voice/WindowBalloonStage.h"

#include <QAction>
#include <QWidget>

// Her balloon beside a plain window standing in for hers, with what it follows: the
// minimised state, the stacking, and her voice on a sound output that writes down.
struct BalloonRig {
    BalloonRig(TimerFactory& timers, QRect mouth)
        : link(stage, mouth, minimize), balloon(link, stacking, voice, timers) {}

    QWidget stage{nullptr, Qt::Window | Qt::FramelessWindowHint};
    MinimizeWatch minimize{stage};
    WindowBalloonStage link;
    bool stayOnTop = false;
    QAction stayOnTopItem;
    StageStacking stacking{stayOnTop, stage, stayOnTopItem};
    FakeSoundOutput sound;
    VoicePlayer voice{sound};
    TMessageBalloon balloon;
};
