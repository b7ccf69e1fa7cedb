#pragma once

#include <QString>

// Her speech balloon as those who have something to say see it.
class Speaker {
public:
    virtual ~Speaker() = default;

    // Whether a message shows now.
    virtual bool speaking() const = 0;
    // Shows the message and its time line beside her, exactly as written, and says the
    // clip ("" for none). Already speaking, she only comes to the front with the new texts.
    virtual void say(const QString& message, const QString& timeLine, const QString& clip) = 0;
    // Closes the balloon from outside, as her menu does.
    virtual void stopSpeaking() = 0;
};
