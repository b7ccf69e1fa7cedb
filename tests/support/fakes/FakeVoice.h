#pragma once

#include "shared/Voice.h"

#include <QStringList>

// A voice that writes down the clips it is asked to say.
class FakeVoice : public Voice {
public:
    bool playVoice(const QString& name) override {
        played << name;
        return !name.isEmpty();
    }
    void stopVoice() override { ++stops; }

    QStringList played;
    int stops = 0;
};
