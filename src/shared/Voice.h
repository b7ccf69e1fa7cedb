#pragma once

#include <QString>

// Her voice: the program's clips by name, one at a time.
class Voice {
public:
    virtual ~Voice() = default;

    // Starts the clip in the background: true when it started. The empty name plays nothing
    // and leaves a sounding clip alone; a clip asked for while one sounds is dropped.
    virtual bool playVoice(const QString& name) = 0;
    // Cuts off the clip that sounds, if any.
    virtual void stopVoice() = 0;
};
