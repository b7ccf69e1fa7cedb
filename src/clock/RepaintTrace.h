#pragma once

// For measuring how soon the dial follows the wall clock: with HOURLING_TRACE_REPAINT set
// to a file name, each per-second repaint of the dial appends the wall-clock time in
// nanoseconds as one line. Off, it costs one test of a flag.
namespace RepaintTrace {
void mark();
}
