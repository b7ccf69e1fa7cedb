#pragma once

#include <QString>
#include <cstdint>

struct xcb_connection_t;

// Counts the bells an X server rings, whichever client asks for them.
class BellWatch {
public:
    explicit BellWatch(const QString& display);
    ~BellWatch();
    BellWatch(const BellWatch&) = delete;
    BellWatch& operator=(const BellWatch&) = delete;

    bool ok() const { return ok_; }
    // Bells rung since the watch began, as far as the server has told so far.
    int bells();

private:
    xcb_connection_t* connection_;
    std::uint8_t firstEvent_ = 0;
    bool ok_ = false;
    int bells_ = 0;
};
