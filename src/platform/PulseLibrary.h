#pragma once

#include <pulse/pulseaudio.h>

// The sound server's client library, loaded at her first clip rather than linked: it brings
// a dozen codec libraries she never uses, all loaded and bound before her window could map.
// Without it she is silent.
struct PulseLibrary {
#define HOURLING_PULSE_FUNCTIONS(X)                                                                \
    X(pa_threaded_mainloop_new)                                                                    \
    X(pa_threaded_mainloop_start)                                                                  \
    X(pa_threaded_mainloop_stop)                                                                   \
    X(pa_threaded_mainloop_free)                                                                   \
    X(pa_threaded_mainloop_lock)                                                                   \
    X(pa_threaded_mainloop_unlock)                                                                 \
    X(pa_threaded_mainloop_get_api)                                                                \
    X(pa_sample_spec_valid)                                                                        \
    X(pa_frame_size)                                                                               \
    X(pa_bytes_to_usec)                                                                            \
    X(pa_usec_to_bytes)                                                                            \
    X(pa_context_new)                                                                              \
    X(pa_context_get_state)                                                                        \
    X(pa_context_set_state_callback)                                                               \
    X(pa_context_connect)                                                                          \
    X(pa_context_disconnect)                                                                       \
    X(pa_context_unref)                                                                            \
    X(pa_stream_new)                                                                               \
    X(pa_stream_get_state)                                                                         \
    X(pa_stream_set_state_callback)                                                                \
    X(pa_stream_set_write_callback)                                                                \
    X(pa_stream_connect_playback)                                                                  \
    X(pa_stream_write)                                                                             \
    X(pa_stream_drain)                                                                             \
    X(pa_stream_disconnect)                                                                        \
    X(pa_stream_unref)                                                                             \
    X(pa_operation_unref)
#define HOURLING_PULSE_MEMBER(name) decltype(&::name) name = nullptr;
    HOURLING_PULSE_FUNCTIONS(HOURLING_PULSE_MEMBER)
#undef HOURLING_PULSE_MEMBER

    // Loaded once and kept for the program's life, since its threads may still run its
    // code; null when the library or one of its functions is missing.
    static const PulseLibrary* load();
};
