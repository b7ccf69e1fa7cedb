#pragma once

// The local broken-down time, as the clock on the wall shows it.
struct LocalTime {
    int year = 0;
    int month = 1; // 1-12
    int dayOfWeek = 0;
    int day = 1; // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class WallClock {
public:
    virtual ~WallClock() = default;
    virtual LocalTime now() const = 0;
};

class SystemWallClock : public WallClock {
public:
    LocalTime now() const override;
};
