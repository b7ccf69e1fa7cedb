#include "platform/PulseSoundOutput.h"

#include "platform/PulseLibrary.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// How much the server holds ahead of what it plays: small, so that a clip starts and stops
// at once.
constexpr pa_usec_t kBufferUsec = 200'000;
// Beyond its own length a clip may take this long to connect and drain before it is given up.
constexpr auto kGrace = std::chrono::seconds(3);

std::optional<pa_sample_spec> sampleFormatOf(const PulseLibrary& pa, const PcmClip& clip) {
    pa_sample_spec format{};
    switch (clip.bitsPerSample) {
    case 8:
        format.format = PA_SAMPLE_U8;
        break;
    case 16:
        format.format = PA_SAMPLE_S16LE;
        break;
    case 24:
        format.format = PA_SAMPLE_S24LE;
        break;
    case 32:
        format.format = PA_SAMPLE_S32LE;
        break;
    default:
        return std::nullopt;
    }
    if (clip.channels <= 0 || clip.channels > int(PA_CHANNELS_MAX) || clip.sampleRate <= 0)
        return std::nullopt;
    format.channels = quint8(clip.channels);
    format.rate = quint32(clip.sampleRate);
    if (!pa.pa_sample_spec_valid(&format))
        return std::nullopt;
    return format;
}

// The clip's bytes outlive every stream, so the server's copy of the pointer frees nothing.
void keepBytes(void*) {}

class LoopLock {
public:
    LoopLock(const PulseLibrary& pa, pa_threaded_mainloop* loop) : pa_(pa), loop_(loop) {
        pa_.pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { pa_.pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    const PulseLibrary& pa_;
    pa_threaded_mainloop* loop_;
};

} // namespace

// Everything below is guarded by the loop's lock: the callbacks run on the loop's thread
// with the lock held, and the public calls take it.
class PulseSoundOutput::Connection {
public:
    explicit Connection(const PulseLibrary& pa) : pa_(pa) {
        loop_ = pa_.pa_threaded_mainloop_new();
        if (loop_ && pa_.pa_threaded_mainloop_start(loop_) < 0) {
            pa_.pa_threaded_mainloop_free(loop_);
            loop_ = nullptr;
        }
    }

    ~Connection() {
        if (!loop_)
            return;
        {
            const LoopLock lock(pa_, loop_);
            endClip();
            dropContext();
        }
        // Joins the loop's thread.
        pa_.pa_threaded_mainloop_stop(loop_);
        pa_.pa_threaded_mainloop_free(loop_);
    }

    bool play(const PcmClip& clip) {
        const auto format = sampleFormatOf(pa_, clip);
        if (!loop_ || !format)
            return false;
        const size_t frameBytes = pa_.pa_frame_size(&*format);
        const size_t bytes = size_t(clip.samples.size()) / frameBytes * frameBytes;
        if (bytes == 0)
            return false;

        const LoopLock lock(pa_, loop_);
        giveUpIfOverdue();
        if (playing_)
            return false;
        if (!connect())
            return false;
        playing_ = true;
        format_ = *format;
        samples_ = clip.samples.first(qsizetype(bytes));
        written_ = 0;
        draining_ = false;
        deadline_ = Clock::now() + kGrace +
                    std::chrono::microseconds(pa_.pa_bytes_to_usec(bytes, &format_));
        // Otherwise the stream opens when the server has answered.
        if (pa_.pa_context_get_state(context_) == PA_CONTEXT_READY)
            return openStream();
        return true;
    }

    void stop() {
        if (!loop_)
            return;
        const LoopLock lock(pa_, loop_);
        endClip();
    }

    bool isSounding() {
        if (!loop_)
            return false;
        const LoopLock lock(pa_, loop_);
        giveUpIfOverdue();
        return playing_;
    }

private:
    bool connect() {
        if (context_ && PA_CONTEXT_IS_GOOD(pa_.pa_context_get_state(context_)))
            return true;
        dropContext();
        context_ = pa_.pa_context_new(pa_.pa_threaded_mainloop_get_api(loop_), "Hourling");
        if (!context_)
            return false;
        pa_.pa_context_set_state_callback(context_, &Connection::contextChanged, this);
        // The desktop owns its sound server; a clock never starts one.
        if (pa_.pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropContext();
            return false;
        }
        return true;
    }

    void dropContext() {
        if (!context_)
            return;
        pa_.pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_.pa_context_disconnect(context_);
        pa_.pa_context_unref(context_);
        context_ = nullptr;
    }

    bool openStream() {
        stream_ = pa_.pa_stream_new(context_, "voice", &format_, nullptr);
        if (!stream_) {
            endClip();
            return false;
        }
        pa_.pa_stream_set_state_callback(stream_, &Connection::streamChanged, this);
        pa_.pa_stream_set_write_callback(stream_, &Connection::writable, this);
        pa_buffer_attr buffer;
        buffer.maxlength = quint32(-1);
        buffer.tlength = quint32(pa_.pa_usec_to_bytes(kBufferUsec, &format_));
        buffer.prebuf = quint32(-1);
        buffer.minreq = quint32(-1);
        buffer.fragsize = quint32(-1);
        if (pa_.pa_stream_connect_playback(stream_, nullptr, &buffer, PA_STREAM_ADJUST_LATENCY,
                                           nullptr, nullptr) < 0) {
            endClip();
            return false;
        }
        return true;
    }

    void endClip() {
        if (stream_) {
            pa_.pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_.pa_stream_set_write_callback(stream_, nullptr, nullptr);
            // The server drops what it still holds of the clip.
            pa_.pa_stream_disconnect(stream_);
            pa_.pa_stream_unref(stream_);
            stream_ = nullptr;
        }
        playing_ = false;
        draining_ = false;
    }

    // A server that stopped answering must not hold the output for ever.
    void giveUpIfOverdue() {
        if (!playing_ || Clock::now() < deadline_)
            return;
        endClip();
        if (context_ && pa_.pa_context_get_state(context_) != PA_CONTEXT_READY)
            dropContext();
    }

    static void contextChanged(pa_context*, void* self) {
        static_cast<Connection*>(self)->onContextChanged();
    }
    void onContextChanged() {
        const pa_context_state_t state = pa_.pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY && playing_ && !stream_)
            openStream();
        else if (!PA_CONTEXT_IS_GOOD(state))
            endClip();
    }

    static void streamChanged(pa_stream* stream, void* self) {
        auto* connection = static_cast<Connection*>(self);
        if (!PA_STREAM_IS_GOOD(connection->pa_.pa_stream_get_state(stream)))
            connection->endClip();
    }

    static void writable(pa_stream*, size_t bytes, void* self) {
        static_cast<Connection*>(self)->onWritable(bytes);
    }
    void onWritable(size_t bytes) {
        if (!stream_ || draining_)
            return;
        const size_t count = std::min(bytes, size_t(samples_.size()) - written_);
        if (count > 0 && pa_.pa_stream_write(stream_, samples_.data() + written_, count, keepBytes,
                                             0, PA_SEEK_RELATIVE) < 0) {
            endClip();
            return;
        }
        written_ += count;
        if (written_ < size_t(samples_.size()))
            return;
        // Everything is with the server: the clip ends when it has played it.
        draining_ = true;
        pa_operation* drain = pa_.pa_stream_drain(stream_, &Connection::drained, this);
        if (!drain) {
            endClip();
            return;
        }
        pa_.pa_operation_unref(drain);
    }

    static void drained(pa_stream* stream, int, void* self) {
        auto* connection = static_cast<Connection*>(self);
        if (stream == connection->stream_)
            connection->endClip();
    }

    const PulseLibrary& pa_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    // From play until the server has played the clip, it was stopped, or it failed.
    bool playing_ = false;
    bool draining_ = false;
    pa_sample_spec format_{};
    QByteArrayView samples_;
    size_t written_ = 0;
    Clock::time_point deadline_;
};

PulseSoundOutput::PulseSoundOutput() = default;

PulseSoundOutput::~PulseSoundOutput() = default;

bool PulseSoundOutput::play(const PcmClip& clip) {
    if (!connection_) {
        const PulseLibrary* library = PulseLibrary::load();
        if (!library)
            return false;
        connection_ = std::make_unique<Connection>(*library);
    }
    return connection_->play(clip);
}

void PulseSoundOutput::stop() {
    if (connection_)
        connection_->stop();
}

bool PulseSoundOutput::isSounding() const {
    return connection_ && connection_->isSounding();
}
