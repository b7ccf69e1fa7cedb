#pragma once

// For measuring how soon the dial follows the wall clock: with HOURLING_TRACE_REPAINT set
// to a file name, each per-second repaint of the dial appends one line, the wall-clock times
// in nanoseconds of the repaint and of the clock thread's start on that second, so that a
// late repaint shows whether the clock thread woke late or the hand-over took long. Off,
// each costs one test of a flag.
namespace RepaintTrace {
// On the clock thread, as it takes up a new second.
void woke();
// On the user-interface thread, as the dial is painted for it.
void mark();
} // namespace RepaintTrace
