// The voices of the generator's music: a stereo mix with reverb and echo sends, and the
// instruments that play into it (wavetable pads, FM bells, plucked strings, drums from
// noise). Times are seconds, notes MIDI numbers, pans -1 (left) to 1 (right).
#pragma once
#include <cmath>
#include <cstddef>
#include <vector>

#include "content/rng.h"

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

// Detuned saw voices through a one-pole low pass: a warm string pad.
void pad(Mix& m, double start, double dur, const std::vector<int>& notes, float vel, float bright);
// Two-operator FM: a bell or electric piano depending on the ratio.
void bell(Mix& m, double start, double dur, double note, float vel, float pan, float ratio = 3.5f,
          float echo = 0.35f);
// Karplus-Strong plucked string.
void pluck(Mix& m, double start, double note, float vel, float pan, double length = 1.2);
void bass(Mix& m, double start, double dur, int note, float vel);
void kick(Mix& m, double start, float vel);
void snare(Mix& m, double start, float vel);
void hat(Mix& m, double start, float vel, bool open, float pan = 0.3f);
void crash(Mix& m, double start, float vel);
// Filtered noise swelling from start to end: the riser of a build-up.
void riser(Mix& m, double start, double end, float vel);

// Schroeder reverb on the send bus and a ping-pong echo, mixed into the dry signal.
void effects(Mix& m, double echoSeconds);
// The mix normalised, soft-clipped and faded in and out: interleaved stereo.
std::vector<float> finish(Mix& m, double fadeIn, double fadeOut);
