"""Miora's voice clips: espeak-ng's Japanese voice with a female variant at a high pitch, read
from kana (the voice reads kanji as foreign words), then trimmed of silence and normalised.
"""
import os
import struct
import subprocess
import tempfile
import wave

RATE = 22050
# Name, the kana the voice reads (written as it is pronounced: the particle は as わ).
CLIPS = [
    ('SND_JIKAN1', 'おじかんですよ'),
    ('SND_JIKAN2', 'おはようございます'),
    ('SND_JIKAN3', 'だいすきです'),
    ('SND_JIKAN4', 'じゅっぷんまえです'),
    ('SND_KINENBI1', 'おたんじょうび、おめでとうございます'),
    ('SND_KINENBI2', 'きょうわ、おやすみですね'),
    ('SND_KINENBI3', 'きょうわ、たいせつな きねんびですね'),
    ('SND_MATSU1', 'ねえねえ、かまってください'),
    ('SND_MATSU2', 'さみしいです…'),
]
VOICE = ['-v', 'ja+f5', '-p', '95', '-s', '150']
SILENCE = 0.004  # of full scale: quieter samples at either end are cut
MARGIN = 0.02  # seconds kept around the speech
FADE = 0.01  # seconds
PEAK = 0.89  # of full scale, about -1 dBFS


def speak(text):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'raw.wav')
        subprocess.run(['espeak-ng', *VOICE, '-w', path, text], check=True)
        with wave.open(path) as raw:
            if (raw.getnchannels(), raw.getsampwidth(), raw.getframerate()) != (1, 2, RATE):
                raise RuntimeError('espeak-ng gave an unexpected format')
            frames = raw.readframes(raw.getnframes())
    return list(struct.unpack(f'<{len(frames) // 2}h', frames))


def shape(samples):
    limit = SILENCE * 32768
    loud = [i for i, s in enumerate(samples) if abs(s) > limit]
    margin = int(MARGIN * RATE)
    samples = samples[max(0, loud[0] - margin):loud[-1] + margin]
    fade = int(FADE * RATE)
    gain = PEAK * 32767 / max(abs(s) for s in samples)
    out = []
    for i, s in enumerate(samples):
        ramp = min(1.0, i / fade, (len(samples) - 1 - i) / fade)
        out.append(max(-32767, min(32767, round(s * gain * ramp))))
    return out


def write(path, samples):
    data = struct.pack(f'<{len(samples)}h', *samples)
    header = struct.pack('<4sI4s4sIHHIIHH4sI', b'RIFF', 36 + len(data), b'WAVE', b'fmt ', 16,
                         1, 1, RATE, RATE * 2, 2, 16, b'data', len(data))
    with open(path, 'wb') as f:
        f.write(header + data)


def make(folder):
    for name, text in CLIPS:
        write(os.path.join(folder, name + '.wav'), shape(speak(text)))
