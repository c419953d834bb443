// The instruments and effects of the generator's music.
#include <algorithm>
#include <cmath>

#include "content/music_voices.h"

namespace {

const double kTwoPi = 6.283185307179586;
const int kTable = 4096;

struct Tables {
    std::vector<float> sine, saw;
    Tables() : sine(kTable + 1), saw(kTable + 1) {
        for (int i = 0; i <= kTable; ++i) {
            double p = kTwoPi * i / kTable;
            sine[i] = float(std::sin(p));
            double s = 0;
            for (int h = 1; h <= 24; ++h)
                s += std::sin(p * h) / h;
            saw[i] = float(s * 0.55);
        }
    }
};
const Tables& tables() {
    static const Tables t;
    return t;
}
inline float lookup(const std::vector<float>& t, double phase) { // phase in cycles
    double x = (phase - std::floor(phase)) * kTable;
    int i = int(x);
    float f = float(x - i);
    return t[i] + (t[i + 1] - t[i]) * f;
}
double midiHz(double m) {
    return 440.0 * std::pow(2.0, (m - 69.0) / 12.0);
}

float adsr(double t, double dur, double a, double d, float s, double rel) {
    if (t < 0)
        return 0;
    float v;
    if (t < a)
        v = float(t / a);
    else if (t < a + d)
        v = 1.0f - (1.0f - s) * float((t - a) / d);
    else
        v = s;
    if (t > dur)
        v *= float(std::max(0.0, 1.0 - (t - dur) / rel));
    return v;
}

// High-passed white noise with an exponential decay: the metal of hats and cymbals.
// Alternating pans, when asked for, spread a cymbal across the stereo field.
void metalNoise(Mix& m, double start, double seconds, double decay, float vel, float scale,
                float pan, bool spread, float wet) {
    size_t i0 = size_t(start * m.rate), n = size_t(seconds * m.rate);
    float prev = 0;
    for (size_t k = 0; k < n; ++k) {
        double t = double(k) / m.rate;
        float w = m.white();
        float s = (w - prev) * 0.5f;
        prev = w;
        m.put(i0 + k, s * float(std::exp(-t * decay)) * vel * scale,
              spread ? ((k % 2) ? pan : -pan) : pan, wet);
    }
}

} // namespace

void pad(Mix& m, double start, double dur, const std::vector<int>& notes, float vel, float bright) {
    const double rel = 1.5;
    size_t i0 = size_t(start * m.rate), n = size_t((dur + rel) * m.rate);
    float cutoff = 0.02f + 0.25f * bright;
    int voice = 0;
    for (int note : notes) {
        for (int d = -1; d <= 1; ++d) {
            double inc = midiHz(note + 0.08 * d) / m.rate;
            double phase = 0.37 * (voice++);
            phase -= std::floor(phase);
            float lp = 0, e = 0;
            float pan = 0.5f * d;
            const std::vector<float>& saw = tables().saw;
            for (size_t k = 0; k < n; ++k) {
                if (k % 32 == 0) // the envelope moves slowly: step it per block
                    e = adsr(double(k) / m.rate, dur, 0.8, 0.5, 0.8f, rel) * vel * 0.06f;
                phase += inc;
                if (phase >= 1.0)
                    phase -= 1.0;
                double x = phase * kTable;
                int i = int(x);
                float f = float(x - i);
                lp += cutoff * (saw[i] + (saw[i + 1] - saw[i]) * f - lp);
                m.put(i0 + k, lp * e, pan, 0.5f);
            }
        }
    }
}

void bell(Mix& m, double start, double dur, double note, float vel, float pan, float ratio,
          float echo) {
    size_t i0 = size_t(start * m.rate), n = size_t((dur + 2.0) * m.rate);
    double hz = midiHz(note), pc = 0, pm = 0;
    float index = 2.2f, decay = 1.0f;
    const float indexStep = float(std::exp(-5.0 / m.rate)),
                decayStep = float(std::exp(-1.6 / m.rate));
    for (size_t k = 0; k < n; ++k) {
        double t = double(k) / m.rate;
        pm += hz * ratio / m.rate;
        index *= indexStep;
        decay *= decayStep;
        pc += hz / m.rate;
        float s = lookup(tables().sine, pc + index * lookup(tables().sine, pm) / kTwoPi);
        float e = decay * std::min(1.0f, float(t / 0.004));
        if (t > dur)
            e *= float(std::max(0.0, 1.0 - (t - dur) / 2.0));
        m.put(i0 + k, s * e * vel * 0.22f, pan, 0.35f, echo);
    }
}

void pluck(Mix& m, double start, double note, float vel, float pan, double length) {
    int period = std::max(2, int(std::lround(m.rate / midiHz(note))));
    std::vector<float> line(period);
    for (float& x : line)
        x = m.white();
    size_t i0 = size_t(start * m.rate), n = size_t(length * m.rate);
    float prev = 0;
    for (size_t k = 0; k < n; ++k) {
        size_t at = k % period;
        float x = line[at];
        line[at] = 0.996f * 0.5f * (x + prev);
        prev = x;
        float fade = k > n - 2000 ? float(n - k) / 2000.0f : 1.0f;
        m.put(i0 + k, x * vel * 0.18f * fade, pan, 0.3f, 0.2f);
    }
}

void bass(Mix& m, double start, double dur, int note, float vel) {
    size_t i0 = size_t(start * m.rate), n = size_t((dur + 0.1) * m.rate);
    double hz = midiHz(note), p = 0;
    float lp = 0;
    for (size_t k = 0; k < n; ++k) {
        double t = double(k) / m.rate;
        p += hz / m.rate;
        float cutoff = 0.02f + 0.1f * float(std::exp(-t * 8.0));
        lp += cutoff * (lookup(tables().saw, p) - lp);
        float s = 0.7f * lookup(tables().sine, p) + 0.8f * lp;
        m.put(i0 + k, s * adsr(t, dur, 0.005, 0.2, 0.7f, 0.08) * vel * 0.3f, 0.0f, 0.05f);
    }
}

void kick(Mix& m, double start, float vel) {
    size_t i0 = size_t(start * m.rate), n = size_t(0.45 * m.rate);
    double p = 0;
    for (size_t k = 0; k < n; ++k) {
        double t = double(k) / m.rate;
        p += (45.0 + 110.0 * std::exp(-t * 30.0)) / m.rate;
        float s = lookup(tables().sine, p) * float(std::exp(-t * 7.0));
        m.put(i0 + k, s * vel * 0.55f, 0.0f, 0.05f);
    }
}

void snare(Mix& m, double start, float vel) {
    size_t i0 = size_t(start * m.rate), n = size_t(0.3 * m.rate);
    double p = 0;
    float hp = 0, prev = 0;
    for (size_t k = 0; k < n; ++k) {
        double t = double(k) / m.rate;
        p += 185.0 / m.rate;
        float w = m.white();
        hp = 0.7f * (hp + w - prev);
        prev = w;
        float s = 0.5f * hp * float(std::exp(-t * 16.0)) +
                  0.4f * lookup(tables().sine, p) * float(std::exp(-t * 25.0));
        m.put(i0 + k, s * vel * 0.35f, 0.1f, 0.3f);
    }
}

void hat(Mix& m, double start, float vel, bool open, float pan) {
    metalNoise(m, start, open ? 0.35 : 0.06, open ? 9.0 : 60.0, vel, 0.16f, pan, false, 0.1f);
}

void crash(Mix& m, double start, float vel) {
    metalNoise(m, start, 3.0, 1.6, vel, 0.2f, 0.5f, true, 0.5f);
}

void riser(Mix& m, double start, double end, float vel) {
    size_t i0 = size_t(start * m.rate), n = size_t((end - start) * m.rate);
    float lp = 0;
    for (size_t k = 0; k < n; ++k) {
        float x = float(k) / float(n);
        lp += (0.01f + 0.3f * x * x) * (m.white() - lp);
        m.put(i0 + k, lp * x * x * vel * 0.5f, std::sin(x * 20.0f) * 0.6f, 0.6f);
    }
}

void effects(Mix& m, double echoSeconds) {
    const int combs[4] = {1557, 1617, 1491, 1422}, allpasses[2] = {225, 556};
    for (int ch = 0; ch < 2; ++ch) {
        std::vector<float>& in = ch ? m.verbR : m.verbL;
        std::vector<float>& out = ch ? m.r : m.l;
        std::vector<float> wet(in.size(), 0.0f);
        for (int c = 0; c < 4; ++c) {
            std::vector<float> buf(combs[c] + ch * 23, 0.0f);
            float store = 0;
            size_t at = 0;
            for (size_t i = 0; i < in.size(); ++i) {
                float y = buf[at];
                store = y * 0.75f + store * 0.25f;
                buf[at] = in[i] + store * 0.84f;
                wet[i] += y;
                at = (at + 1) % buf.size();
            }
        }
        for (int a : allpasses) {
            std::vector<float> buf(a + ch * 23, 0.0f);
            size_t at = 0;
            for (float& x : wet) {
                float b = buf[at];
                buf[at] = x + b * 0.5f;
                x = b - x;
                at = (at + 1) % buf.size();
            }
        }
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += wet[i] * 0.09f;
    }
    size_t d = size_t(echoSeconds * m.rate);
    for (size_t i = d; i < m.frames(); ++i) {
        // Each repeat crosses to the other side.
        m.echoL[i] += m.echoR[i - d] * 0.45f;
        m.echoR[i] += m.echoL[i - d] * 0.45f;
    }
    for (size_t i = 0; i < m.frames(); ++i) {
        m.l[i] += m.echoL[i] * 0.5f;
        m.r[i] += m.echoR[i] * 0.5f;
    }
}

std::vector<float> finish(Mix& m, double fadeIn, double fadeOut) {
    float peak = 1e-6f;
    for (size_t i = 0; i < m.frames(); ++i)
        peak = std::max(peak, std::max(std::fabs(m.l[i]), std::fabs(m.r[i])));
    float gain = 1.2f / peak;
    std::vector<float> out(m.frames() * 2);
    double total = double(m.frames()) / m.rate;
    for (size_t i = 0; i < m.frames(); ++i) {
        double t = double(i) / m.rate;
        float env = float(std::min({1.0, t / fadeIn, (total - t) / fadeOut}));
        out[2 * i] = std::tanh(m.l[i] * gain) * 0.9f * env;
        out[2 * i + 1] = std::tanh(m.r[i] * gain) * 0.9f * env;
    }
    return out;
}
