// Two original pieces, synthesized note by note (wavetable pads, FM bells, plucked
// strings, drums from noise) with a reverb and a delay, then encoded to MP3 with LAME.
//   "bgmusic.mp3": D minor, 96 BPM (a bar is 2.5 s); builds up to bar 46 = 115 s, where
//                  the picture fades, and resolves into D major.
//   "lvl2.mp3":    E minor, 24 bars in 47 s; at bar 24 = 47 s, when the UFO starts to
//                  rise, the drums drop in and the harmony lifts to E major.
#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "content/files.h"
#include "content/music.h"
#include "content/rng.h"

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

struct Mix {
    int rate;
    std::vector<float> l, r, verbL, verbR, echoL, echoR;
    Rng noise{7};
    float lastPan = 0.0f, gainL = std::sqrt(0.5f), gainR = std::sqrt(0.5f);
    Mix(int sr, double seconds) : rate(sr) {
        size_t n = size_t(seconds * sr);
        for (auto* v : {&l, &r, &verbL, &verbR, &echoL, &echoR})
            v->assign(n, 0.0f);
    }
    size_t frames() const { return l.size(); }
    // Adds a mono sample with pan (-1 left .. 1 right) and effect sends.
    void put(size_t i, float s, float pan, float verb, float echo = 0.0f) {
        if (i >= l.size())
            return;
        if (pan != lastPan) { // equal-power gains, recomputed only when the pan changes
            lastPan = pan;
            gainL = std::sqrt(0.5f * (1.0f - pan));
            gainR = std::sqrt(0.5f * (1.0f + pan));
        }
        float gl = gainL, gr = gainR;
        l[i] += s * gl;
        r[i] += s * gr;
        verbL[i] += s * gl * verb;
        verbR[i] += s * gr * verb;
        echoL[i] += s * gl * echo;
        echoR[i] += s * gr * echo;
    }
    float white() { return noise.uniform() * 2.0f - 1.0f; }
};

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

// Detuned saw voices through a one-pole low pass: a warm string pad.
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

// Two-operator FM: a bell or electric piano depending on the ratio.
void bell(Mix& m, double start, double dur, double note, float vel, float pan, float ratio = 3.5f,
          float echo = 0.35f) {
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

// Karplus-Strong plucked string.
void pluck(Mix& m, double start, double note, float vel, float pan, double length = 1.2) {
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

void hat(Mix& m, double start, float vel, bool open, float pan = 0.3f) {
    metalNoise(m, start, open ? 0.35 : 0.06, open ? 9.0 : 60.0, vel, 0.16f, pan, false, 0.1f);
}

void crash(Mix& m, double start, float vel) {
    metalNoise(m, start, 3.0, 1.6, vel, 0.2f, 0.5f, true, 0.5f);
}

// Filtered noise swelling from start to end: the riser of a build-up.
void riser(Mix& m, double start, double end, float vel) {
    size_t i0 = size_t(start * m.rate), n = size_t((end - start) * m.rate);
    float lp = 0;
    for (size_t k = 0; k < n; ++k) {
        float x = float(k) / float(n);
        lp += (0.01f + 0.3f * x * x) * (m.white() - lp);
        m.put(i0 + k, lp * x * x * vel * 0.5f, std::sin(x * 20.0f) * 0.6f, 0.6f);
    }
}

// Schroeder reverb on the send bus and a ping-pong echo, mixed into the dry signal.
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

std::vector<int> transpose(std::vector<int> c, int by) {
    for (int& n : c)
        n += by;
    return c;
}

std::vector<float> roomPiece(int rate) {
    const double beat = 60.0 / 96.0, bar = 4 * beat;
    Mix m(rate, 132.0);
    // Dm9, Bbmaj7, Fmaj7, C6/9; the build-up climbs Gm7, A7sus, A7, then D major.
    const std::vector<std::vector<int>> prog = {
        {50, 53, 57, 60, 64}, {46, 50, 53, 57, 60}, {41, 53, 57, 60, 64}, {48, 52, 55, 57, 62}};
    const int roots[4] = {38, 34, 41, 36};
    // Melody over two bars per chord pair: (beat, length in beats, midi note).
    struct N {
        double at, len;
        int note;
    };
    const std::vector<N> phraseA = {{0, 1.5, 69}, {1.5, 0.5, 67}, {2, 1, 65},   {3, 1, 64},
                                    {4, 3, 62},   {7, 1, 65},     {8, 1.5, 69}, {9.5, 0.5, 70},
                                    {10, 2, 72},  {12, 1, 69},    {13, 1, 67},  {14, 2, 64}};
    const std::vector<N> phraseB = {{0, 1, 74},     {1, 1, 72},  {2, 2, 69},  {4, 1.5, 70},
                                    {5.5, 0.5, 69}, {6, 2, 65},  {8, 1, 67},  {9, 1, 69},
                                    {10, 1, 72},    {11, 1, 76}, {12, 3, 74}, {15, 1, 72}};
    for (int b = 0; b < 46; ++b) {
        double t = b * bar;
        int c = b % 4;
        bool build = b >= 40;
        std::vector<int> chord = prog[c];
        int root = roots[c];
        if (b >= 44) { // dominant at the end of the build-up
            chord = b == 44 ? std::vector<int>{43, 50, 53, 57, 62}
                            : std::vector<int>{45, 52, 55, 61, 64};
            root = b == 44 ? 31 : 33;
        }
        float bright = build ? 0.3f + 0.7f * float(b - 40) / 6.0f : (b < 8 ? 0.15f : 0.3f);
        pad(m, t, bar, chord, b < 4 ? 0.4f + 0.15f * b : 1.0f, bright);
        // Arpeggio from bar 4, eighth notes over the chord.
        if (b >= 4 && !(b >= 24 && b < 28)) {
            for (int k = 0; k < 8; ++k) {
                int note = chord[(k * 3 + (b % 2)) % chord.size()] + 12;
                pluck(m, t + k * beat / 2, note, 0.6f + 0.2f * (k % 2 == 0), k % 2 ? 0.4f : -0.4f);
            }
        }
        if (b >= 8 && !(b >= 24 && b < 32)) {
            bass(m, t, 1.5 * beat, root, 1.0f);
            bass(m, t + 1.5 * beat, 0.5 * beat, root + 12, 0.7f);
            bass(m, t + 2 * beat, 2 * beat, root + 7, 0.9f);
        }
        // Melody: phrase A in section A, B in B, both an octave apart at the return.
        bool sectionA = (b >= 8 && b < 16) || (b >= 32 && b < 40);
        bool sectionB = (b >= 16 && b < 24) || (b >= 36 && b < 40);
        bool breakdown = b >= 24 && b < 32;
        if ((sectionA || sectionB || breakdown) && b % 4 == 0) {
            const std::vector<N>& ph = (sectionB && !sectionA) ? phraseB : phraseA;
            for (const N& n : ph) {
                bell(m, t + n.at * beat, n.len * beat, n.note, breakdown ? 0.7f : 1.0f, -0.15f);
                if (b >= 32)
                    bell(m, t + n.at * beat, n.len * beat, n.note - 12, 0.5f, 0.3f, 2.0f, 0.1f);
            }
        }
        // Drums from bar 16; half time in the build-up's first bars, then a snare roll.
        if (b >= 16 && !breakdown) {
            for (int k = 0; k < 4; ++k) {
                if (k == 0 || (k == 2 && b % 2 == 1) || (build && k == 2))
                    kick(m, t + k * beat, 1.0f);
                if (k == 1 || k == 3)
                    snare(m, t + k * beat, build ? 0.6f : 0.8f);
            }
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * beat / 2, k % 2 ? 0.5f : 0.9f, k == 7 && b % 4 == 3);
        }
        if (b >= 12 && b < 16)
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * beat / 2, 0.4f, false);
        if (build) {
            int per = b < 42 ? 2 : b < 44 ? 4 : 8; // eighths, sixteenths, thirty-seconds
            for (int k = 0; k < 4 * per; ++k)
                snare(m, t + k * beat / per,
                      0.25f + 0.6f * float(b - 40 + double(k) / (4 * per)) / 6.0f);
        }
    }
    riser(m, 42 * bar, 46 * bar, 1.0f);
    // 115 s: the arrival in D major while the picture fades, ringing out to the end.
    double arrive = 46 * bar;
    crash(m, arrive, 1.0f);
    kick(m, arrive, 1.2f);
    const std::vector<int> dMajor = {38, 50, 54, 57, 62, 66};
    pad(m, arrive, 4 * bar, dMajor, 1.2f, 0.8f);
    bass(m, arrive, 4 * bar, 26, 1.0f);
    const int fanfare[8] = {74, 78, 81, 86, 81, 78, 81, 86};
    for (int k = 0; k < 8; ++k)
        bell(m, arrive + k * beat, beat * (k == 7 ? 4 : 1), fanfare[k], 0.9f, k % 2 ? 0.3f : -0.3f);
    pad(m, arrive + 4 * bar, 2 * bar, transpose(dMajor, 0), 0.8f, 0.4f);
    effects(m, beat * 0.75);
    return finish(m, 0.5, 4.0);
}

std::vector<float> portPiece(int rate) {
    const double bar = 47.0 / 24.0, beat = bar / 4; // bar 24 lands on 47 s exactly
    Mix m(rate, 84.0);
    // E minor with a tense Neapolitan F before the change; E major after it.
    const std::vector<std::vector<int>> minor = {
        {52, 55, 59, 62}, {48, 52, 55, 59}, {45, 52, 57, 60}, {47, 51, 54, 57}};
    const int minorRoots[4] = {28, 36, 33, 35};
    const std::vector<std::vector<int>> major = {
        {52, 56, 59, 63}, {49, 52, 56, 59}, {45, 52, 57, 61}, {47, 51, 54, 59}};
    const int majorRoots[4] = {28, 37, 33, 35};
    const int hookMinor[8] = {64, 67, 71, 69, 67, 66, 64, 71};
    const int hookMajor[8] = {68, 71, 76, 75, 73, 71, 73, 80};
    for (int b = 0; b < 40; ++b) {
        double t = b * bar;
        bool after = b >= 24;
        int c = (b / 2) % 4;
        std::vector<int> chord = after ? major[c] : minor[c];
        int root = after ? majorRoots[c] : minorRoots[c];
        if (b == 22 || b == 23) {
            chord = b == 22 ? std::vector<int>{53, 57, 60, 65} : std::vector<int>{47, 51, 54, 57};
            root = b == 22 ? 29 : 35;
        }
        pad(m, t, bar, chord, after ? 1.2f : 0.6f, after ? 0.5f : 0.15f + 0.015f * b);
        // Pulsing eighth-note bass from the start; sixteenths after the change.
        int per = after ? 4 : 2;
        if (b < 36)
            for (int k = 0; k < 4 * per; ++k)
                bass(m, t + k * beat / per, beat / per * 0.8, root + ((k % 4 == 3) ? 12 : 0),
                     (after ? 1.0f : 0.6f) * (0.6f + 0.3f * (k % per == 0)));
        // Sparse signals in the intro, the hook from bar 8.
        if (b < 8 && b % 2 == 1)
            bell(m, t + 2.5 * beat, beat, chord[b % 4] + 24, 0.5f, b % 4 == 1 ? -0.6f : 0.6f,
                 1.41f);
        if ((b >= 8 && b < 22) || (b >= 24 && b < 36)) {
            const int* hook = after ? hookMajor : hookMinor;
            if (b % 2 == 0)
                for (int k = 0; k < 8; ++k)
                    bell(m, t + k * beat, beat * 0.9, hook[k] + (after && b >= 28 ? 12 : 0),
                         after ? 1.0f : 0.8f, -0.2f, after ? 3.0f : 1.41f);
        }
        if (b >= 16 && b < 36)
            for (int k = 0; k < 16; ++k)
                pluck(m, t + k * beat / 4,
                      chord[(k * 5) % chord.size()] + 12 + (k % 8 >= 4 ? 12 : 0),
                      after ? 0.55f : 0.25f, k % 2 ? 0.6f : -0.6f, 0.4);
        if (b >= 8 && b < 36) {
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * beat / 2, (k % 2 ? 0.6f : 0.3f) * (after ? 1.3f : 1.0f),
                    after && k % 2 == 1, k % 2 ? 0.4f : -0.2f);
            for (int k = 0; k < 4; ++k) {
                if (after || k == 0 || (b >= 16 && k == 2))
                    kick(m, t + k * beat, after ? 1.1f : 0.6f);
                if (after && (k == 1 || k == 3))
                    snare(m, t + k * beat, 0.9f);
            }
        }
        if (b == 23)
            for (int k = 0; k < 16; ++k)
                snare(m, t + k * beat / 4, 0.2f + 0.05f * k);
    }
    riser(m, 20 * bar, 24 * bar, 1.0f);
    crash(m, 24 * bar, 1.2f); // 47 s
    crash(m, 36 * bar, 0.9f);
    // Ending: the home chord rings under the flight and the fade.
    pad(m, 36 * bar, 4 * bar, {40, 52, 56, 59, 64, 68}, 1.1f, 0.45f);
    bass(m, 36 * bar, 4 * bar, 28, 0.9f);
    for (int k = 0; k < 6; ++k)
        bell(m, 36 * bar + k * 2 * beat, 2 * beat, 76 + (k % 3) * 4 - (k / 3) * 12 + 12, 0.7f,
             k % 2 ? 0.4f : -0.4f, 3.0f);
    effects(m, beat * 0.75);
    return finish(m, 0.3, 3.0);
}

} // namespace

std::vector<float> synthesizeMusic(bool level2, int sampleRate) {
    return level2 ? portPiece(sampleRate) : roomPiece(sampleRate);
}

bool encodeMp3(const std::string& path, const std::vector<float>& stereo, int sampleRate) {
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), &lame_close);
    if (!lame)
        return false;
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_out_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_brate(lame.get(), 160);
    lame_set_quality(lame.get(), 7); // fast; good enough at 160 kbit/s
    if (lame_init_params(lame.get()) < 0) {
        std::printf("kestrune-content: LAME rejected the encoder settings\n");
        return false;
    }
    size_t frames = stereo.size() / 2;
    std::vector<float> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i)
        left[i] = stereo[2 * i], right[i] = stereo[2 * i + 1];
    std::vector<uint8_t> mp3;
    const size_t chunk = 8192;
    std::vector<unsigned char> buf(chunk * 5 / 4 + 7200);
    for (size_t at = 0; at < frames; at += chunk) {
        int n = int(std::min(chunk, frames - at));
        int got = lame_encode_buffer_ieee_float(lame.get(), &left[at], &right[at], n, buf.data(),
                                                int(buf.size()));
        if (got < 0) {
            std::printf("kestrune-content: LAME error %d\n", got);
            return false;
        }
        mp3.insert(mp3.end(), buf.begin(), buf.begin() + got);
    }
    int got = lame_encode_flush(lame.get(), buf.data(), int(buf.size()));
    if (got > 0)
        mp3.insert(mp3.end(), buf.begin(), buf.begin() + got);
    return writeFile(path, mp3);
}

bool writeMusic(const std::string& outDir, bool level2) {
    const int rate = 44100;
    return encodeMp3(outDir + (level2 ? "/lvl2.mp3" : "/bgmusic.mp3"),
                     synthesizeMusic(level2, rate), rate);
}
