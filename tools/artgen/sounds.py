"""Synthesised sound effects and the title tune: 16-bit PCM mono at 22050 Hz."""

import math
import random
import struct
import wave

RATE = 22050
PEAK = 0.78  # headroom below full scale


def _silence(seconds):
    return [0.0] * int(seconds * RATE)


def _mix_into(buf, start, samples):
    i0 = int(start * RATE)
    need = i0 + len(samples)
    if need > len(buf):
        buf.extend([0.0] * (need - len(buf)))
    for i, s in enumerate(samples):
        buf[i0 + i] += s


def _envelope(n, attack, release):
    """Linear attack and a cosine release, in samples, so no note starts or ends with a click."""
    env = [1.0] * n
    for i in range(min(attack, n)):
        env[i] = i / attack
    for i in range(min(release, n)):
        k = n - 1 - i
        env[k] *= 0.5 - 0.5 * math.cos(math.pi * i / release)
    return env


def _fade_edges(buf, fade=0.01):
    n = int(fade * RATE)
    for i in range(min(n, len(buf))):
        g = i / n
        buf[i] *= g
        buf[-1 - i] *= g
    return buf


def _normalise(buf, peak=PEAK):
    top = max(abs(s) for s in buf) or 1.0
    return [s * peak / top for s in buf]


def freq(note):
    """MIDI note number to hertz."""
    return 440.0 * 2 ** ((note - 69) / 12)


def pluck(f, seconds, bright=0.5):
    """A marimba-like note: a few harmonics that die away faster the higher they are."""
    n = int(seconds * RATE)
    out = []
    partials = [(1, 1.0, 5.0), (2, 0.35 * bright, 9.0), (3, 0.18 * bright, 14.0),
                (4, 0.10 * bright, 20.0)]
    for i in range(n):
        t = i / RATE
        s = 0.0
        for mult, amp, decay in partials:
            if f * mult < RATE / 2:
                s += amp * math.exp(-decay * t) * math.sin(2 * math.pi * f * mult * t)
        out.append(s)
    env = _envelope(n, int(0.004 * RATE), int(0.03 * RATE))
    return [s * e for s, e in zip(out, env)]


def title_tune():
    beat = 0.15  # one eighth note
    # (note, eighths); 0 is a rest. C major: a bouncy hop up, an answer, a happy ending.
    melody = [(72, 1), (76, 1), (79, 1), (76, 1), (77, 1), (81, 1), (79, 2),
              (76, 1), (79, 1), (84, 1), (79, 1), (81, 1), (79, 1), (74, 1), (76, 1),
              (77, 1), (74, 1), (71, 1), (74, 1), (72, 1), (76, 1), (79, 1), (83, 1),
              (84, 4)]
    bass = [(48, 2), (55, 2), (53, 2), (55, 2), (48, 2), (53, 2), (55, 2), (55, 2),
            (43, 2), (47, 2), (48, 2), (55, 2), (48, 4)]
    buf = _silence(0.1)
    t = 0.0
    for note, length in melody:
        if note:
            _mix_into(buf, t, pluck(freq(note), min(0.6, length * beat + 0.25), 0.7))
        t += length * beat
    t = 0.0
    for note, length in bass:
        _mix_into(buf, t, [0.55 * s for s in pluck(freq(note), length * beat + 0.1, 0.3)])
        t += length * beat
    # a soft shaker on the off-beats
    rng = random.Random(5)
    step = 0.0
    while step < 13 * 2 * beat:
        n = int(0.04 * RATE)
        env = _envelope(n, 10, n - 10)
        _mix_into(buf, step + beat, [0.05 * rng.uniform(-1, 1) * e for e in env])
        step += 2 * beat
    buf.extend(_silence(0.2))
    return _fade_edges(_normalise(buf))


def appear():
    """A soft pop followed by a quick rising whistle."""
    n = int(0.38 * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 380 + 1500 * (t / 0.38) ** 1.6
        phase += 2 * math.pi * f / RATE
        vib = 1 + 0.02 * math.sin(2 * math.pi * 18 * t)
        s = 0.7 * math.sin(phase * vib) + 0.12 * math.sin(2 * phase)
        # the pop: a low blip that drops in pitch and is gone in 40 ms
        s += 0.9 * math.sin(2 * math.pi * (220 * t - 1500 * t * t)) * math.exp(-t * 90)
        out.append(s)
    env = _envelope(n, int(0.003 * RATE), int(0.12 * RATE))
    return _fade_edges(_normalise([s * e for s, e in zip(out, env)]), 0.003)


def hit():
    """A wooden bonk: a body tone falling in pitch and a short knock of noise."""
    n = int(0.22 * RATE)
    out = []
    phase = 0.0
    rng = random.Random(3)
    noise = 0.0
    for i in range(n):
        t = i / RATE
        f = 95 + 260 * math.exp(-t * 28)
        phase += 2 * math.pi * f / RATE
        body = math.sin(phase) * math.exp(-t * 16)
        noise = 0.6 * noise + 0.4 * rng.uniform(-1, 1)  # darker noise for a wooden knock
        knock = noise * math.exp(-t * 90) * 1.4
        ping = 0.25 * math.sin(2 * math.pi * 720 * t) * math.exp(-t * 40)
        out.append(body + knock + ping)
    env = _envelope(n, int(0.001 * RATE), int(0.05 * RATE))
    return _fade_edges(_normalise([s * e for s, e in zip(out, env)], 0.85), 0.002)


def lose():
    """A sad trombone: four falling notes, the last one wobbling away."""
    notes = [(67, 0.22), (66, 0.22), (65, 0.22), (64, 0.55)]
    buf = []
    phase = 0.0
    for idx, (note, length) in enumerate(notes):
        n = int(length * RATE)
        f0 = freq(note - 12)
        part = []
        for i in range(n):
            t = i / RATE
            wobble = 1.0
            if idx == len(notes) - 1:
                wobble = 1 + 0.025 * math.sin(2 * math.pi * 6 * t) - 0.03 * t
            phase += 2 * math.pi * f0 * wobble / RATE
            # "wah": the tone opens up after the start of each note
            bright = min(1.0, t / 0.08)
            s = 0.0
            for h in range(1, 9):
                s += (bright ** (h * 0.5)) * math.sin(h * phase) / h
            part.append(s)
        env = _envelope(n, int(0.015 * RATE), int((0.25 if idx == 3 else 0.04) * RATE))
        buf.extend(s * e for s, e in zip(part, env))
    return _fade_edges(_normalise(buf, 0.7))


def mute():
    """A soft two-tone blip."""
    n = int(0.14 * RATE)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = 880 if t < 0.06 else 1320
        phase += 2 * math.pi * f / RATE
        out.append(math.sin(phase) + 0.15 * math.sin(2 * phase))
    env = _envelope(n, int(0.006 * RATE), int(0.07 * RATE))
    return _fade_edges(_normalise([s * e for s, e in zip(out, env)], 0.55), 0.003)


def write_wav(samples, path):
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767)))))
                      for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    return len(frames)


def all_sounds():
    return {
        "title.wav": title_tune(),
        "appear.wav": appear(),
        "hit.wav": hit(),
        "lose.wav": lose(),
        "mute.wav": mute(),
    }
