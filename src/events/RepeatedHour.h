#pragma once

// Whether this local time of this year comes twice, as on the night the clocks go back, by
// the system's time zone.
bool comesTwice(int month, int day, int hour, int minute);
