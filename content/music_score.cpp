// The score of the two pieces: which voice plays what, bar by bar. Each piece turns at the
// moment of the show it accompanies, so those bars are derived from show/show.h.
#include "content/music.h"
#include "content/music_voices.h"
#include "show/show.h"

namespace {

// "bgmusic.mp3": D minor at 96 BPM, four beats a bar; builds up to the arrival in D major
// when scene 1 ends and the picture fades.
namespace room {
constexpr double kBeat = 60.0 / 96.0, kBar = 4 * kBeat;
// Sections, as the bar each one starts at.
constexpr int kPadAlone = 0;      // the pad swells in
constexpr int kArpeggio = 4;      // a plucked arpeggio joins
constexpr int kVerseA = 8;        // melody A, with the bass
constexpr int kHats = 12;         // hats lead into the drums
constexpr int kVerseB = 16;       // melody B, with the drums
constexpr int kBreakdown = 24;    // no drums, no bass; the arpeggio rests for four bars
constexpr int kReturn = 32;       // melody A again, doubled an octave below
constexpr int kBuildUp = 40;      // snare rolls, brightening pad
constexpr int kRiser = 42;        // noise swells towards the arrival
constexpr int kDominant = 44;     // two bars of dominant
constexpr int kArrival = 46;      // D major
constexpr double kLength = 132.0; // seconds: the arrival rings out
static_assert(kArrival * kBar == show::kSceneOneEnd, "the arrival falls on scene 1's end");
} // namespace room

// "lvl2.mp3": E minor, lifting to E major with the drums at the change, the moment the
// platform and the UFO start to rise.
namespace port {
constexpr int kChange = 24;
constexpr double kBar = show::kAnimationStart / kChange, kBeat = kBar / 4;
// Sections, as the bar each one starts at.
constexpr int kSignals = 0;          // sparse bells over pad and bass
constexpr int kHook = 8;             // the hook, hats and kick
constexpr int kPlucks = 16;          // plucks; the kick doubles
constexpr int kRiser = kChange - 4;  // noise swells towards the change
constexpr int kTurn = kChange - 2;   // the hook stops: Neapolitan F, then B7 with a snare roll
constexpr int kHookUp = kChange + 4; // the hook an octave higher
constexpr int kEnding = 36;          // the home chord rings out
constexpr int kBars = 40;
constexpr double kLength = 84.0; // seconds
} // namespace port

struct Note {
    double at, len; // in beats
    int note;
};

std::vector<float> roomPiece(int rate) {
    using namespace room;
    Mix m(rate, kLength);
    // Dm9, Bbmaj7, Fmaj7, C6/9; the build-up climbs Gm7, A7sus, A7, then D major.
    const std::vector<std::vector<int>> prog = {
        {50, 53, 57, 60, 64}, {46, 50, 53, 57, 60}, {41, 53, 57, 60, 64}, {48, 52, 55, 57, 62}};
    const int roots[4] = {38, 34, 41, 36};
    // Melody phrases of four bars.
    const std::vector<Note> phraseA = {{0, 1.5, 69}, {1.5, 0.5, 67}, {2, 1, 65},   {3, 1, 64},
                                       {4, 3, 62},   {7, 1, 65},     {8, 1.5, 69}, {9.5, 0.5, 70},
                                       {10, 2, 72},  {12, 1, 69},    {13, 1, 67},  {14, 2, 64}};
    const std::vector<Note> phraseB = {{0, 1, 74},     {1, 1, 72},  {2, 2, 69},  {4, 1.5, 70},
                                       {5.5, 0.5, 69}, {6, 2, 65},  {8, 1, 67},  {9, 1, 69},
                                       {10, 1, 72},    {11, 1, 76}, {12, 3, 74}, {15, 1, 72}};
    for (int b = kPadAlone; b < kArrival; ++b) {
        double t = b * kBar;
        int c = b % 4;
        bool breakdown = b >= kBreakdown && b < kReturn;
        bool build = b >= kBuildUp;
        std::vector<int> chord = prog[c];
        int root = roots[c];
        if (b >= kDominant) {
            chord = b == kDominant ? std::vector<int>{43, 50, 53, 57, 62}
                                   : std::vector<int>{45, 52, 55, 61, 64};
            root = b == kDominant ? 31 : 33;
        }
        const float buildBars = kArrival - kBuildUp;
        float bright =
            build ? 0.3f + 0.7f * float(b - kBuildUp) / buildBars : (b < kVerseA ? 0.15f : 0.3f);
        pad(m, t, kBar, chord, b < kArpeggio ? 0.4f + 0.15f * b : 1.0f, bright);
        // Eighth notes over the chord.
        if (b >= kArpeggio && !(b >= kBreakdown && b < kBreakdown + 4)) {
            for (int k = 0; k < 8; ++k) {
                int note = chord[(k * 3 + (b % 2)) % chord.size()] + 12;
                pluck(m, t + k * kBeat / 2, note, 0.6f + 0.2f * (k % 2 == 0), k % 2 ? 0.4f : -0.4f);
            }
        }
        if (b >= kVerseA && !breakdown) {
            bass(m, t, 1.5 * kBeat, root, 1.0f);
            bass(m, t + 1.5 * kBeat, 0.5 * kBeat, root + 12, 0.7f);
            bass(m, t + 2 * kBeat, 2 * kBeat, root + 7, 0.9f);
        }
        // Phrase B in verse B, phrase A everywhere else; quieter in the breakdown.
        if (b >= kVerseA && b < kBuildUp && b % 4 == 0) {
            bool verseB = b >= kVerseB && b < kBreakdown;
            for (const Note& n : verseB ? phraseB : phraseA) {
                bell(m, t + n.at * kBeat, n.len * kBeat, n.note, breakdown ? 0.7f : 1.0f, -0.15f);
                if (b >= kReturn)
                    bell(m, t + n.at * kBeat, n.len * kBeat, n.note - 12, 0.5f, 0.3f, 2.0f, 0.1f);
            }
        }
        // Kick on one, and on three in odd bars and through the build-up.
        if (b >= kVerseB && !breakdown) {
            for (int k = 0; k < 4; ++k) {
                if (k == 0 || (k == 2 && b % 2 == 1) || (build && k == 2))
                    kick(m, t + k * kBeat, 1.0f);
                if (k == 1 || k == 3)
                    snare(m, t + k * kBeat, build ? 0.6f : 0.8f);
            }
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * kBeat / 2, k % 2 ? 0.5f : 0.9f, k == 7 && b % 4 == 3);
        }
        if (b >= kHats && b < kVerseB)
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * kBeat / 2, 0.4f, false);
        // Snare rolls in eighths, then sixteenths, then thirty-seconds, ever louder.
        if (build) {
            int per = b < kRiser ? 2 : b < kDominant ? 4 : 8;
            for (int k = 0; k < 4 * per; ++k)
                snare(m, t + k * kBeat / per,
                      0.25f + 0.6f * float(b - kBuildUp + double(k) / (4 * per)) / buildBars);
        }
    }
    riser(m, kRiser * kBar, kArrival * kBar, 1.0f);
    // The arrival in D major while the picture fades, ringing out to the end.
    const double arrive = kArrival * kBar;
    crash(m, arrive, 1.0f);
    kick(m, arrive, 1.2f);
    const std::vector<int> dMajor = {38, 50, 54, 57, 62, 66};
    pad(m, arrive, 4 * kBar, dMajor, 1.2f, 0.8f);
    bass(m, arrive, 4 * kBar, 26, 1.0f);
    const int fanfare[8] = {74, 78, 81, 86, 81, 78, 81, 86};
    for (int k = 0; k < 8; ++k)
        bell(m, arrive + k * kBeat, kBeat * (k == 7 ? 4 : 1), fanfare[k], 0.9f,
             k % 2 ? 0.3f : -0.3f);
    pad(m, arrive + 4 * kBar, 2 * kBar, dMajor, 0.8f, 0.4f);
    effects(m, kBeat * 0.75);
    return finish(m, 0.5, 4.0);
}

std::vector<float> portPiece(int rate) {
    using namespace port;
    Mix m(rate, kLength);
    // E minor with a tense Neapolitan F before the change; E major after it.
    const std::vector<std::vector<int>> minor = {
        {52, 55, 59, 62}, {48, 52, 55, 59}, {45, 52, 57, 60}, {47, 51, 54, 57}};
    const int minorRoots[4] = {28, 36, 33, 35};
    const std::vector<std::vector<int>> major = {
        {52, 56, 59, 63}, {49, 52, 56, 59}, {45, 52, 57, 61}, {47, 51, 54, 59}};
    const int majorRoots[4] = {28, 37, 33, 35};
    const int hookMinor[8] = {64, 67, 71, 69, 67, 66, 64, 71};
    const int hookMajor[8] = {68, 71, 76, 75, 73, 71, 73, 80};
    for (int b = kSignals; b < kBars; ++b) {
        double t = b * kBar;
        bool after = b >= kChange;
        int c = (b / 2) % 4;
        std::vector<int> chord = after ? major[c] : minor[c];
        int root = after ? majorRoots[c] : minorRoots[c];
        if (b >= kTurn && b < kChange) {
            chord =
                b == kTurn ? std::vector<int>{53, 57, 60, 65} : std::vector<int>{47, 51, 54, 57};
            root = b == kTurn ? 29 : 35;
        }
        pad(m, t, kBar, chord, after ? 1.2f : 0.6f, after ? 0.5f : 0.15f + 0.015f * b);
        // Pulsing eighth-note bass from the start; sixteenths after the change.
        int per = after ? 4 : 2;
        if (b < kEnding)
            for (int k = 0; k < 4 * per; ++k)
                bass(m, t + k * kBeat / per, kBeat / per * 0.8, root + ((k % 4 == 3) ? 12 : 0),
                     (after ? 1.0f : 0.6f) * (0.6f + 0.3f * (k % per == 0)));
        if (b < kHook && b % 2 == 1)
            bell(m, t + 2.5 * kBeat, kBeat, chord[b % 4] + 24, 0.5f, b % 4 == 1 ? -0.6f : 0.6f,
                 1.41f);
        if ((b >= kHook && b < kTurn) || (after && b < kEnding)) {
            const int* hook = after ? hookMajor : hookMinor;
            if (b % 2 == 0)
                for (int k = 0; k < 8; ++k)
                    bell(m, t + k * kBeat, kBeat * 0.9, hook[k] + (b >= kHookUp ? 12 : 0),
                         after ? 1.0f : 0.8f, -0.2f, after ? 3.0f : 1.41f);
        }
        if (b >= kPlucks && b < kEnding)
            for (int k = 0; k < 16; ++k)
                pluck(m, t + k * kBeat / 4,
                      chord[(k * 5) % chord.size()] + 12 + (k % 8 >= 4 ? 12 : 0),
                      after ? 0.55f : 0.25f, k % 2 ? 0.6f : -0.6f, 0.4);
        if (b >= kHook && b < kEnding) {
            for (int k = 0; k < 8; ++k)
                hat(m, t + k * kBeat / 2, (k % 2 ? 0.6f : 0.3f) * (after ? 1.3f : 1.0f),
                    after && k % 2 == 1, k % 2 ? 0.4f : -0.2f);
            for (int k = 0; k < 4; ++k) {
                if (after || k == 0 || (b >= kPlucks && k == 2))
                    kick(m, t + k * kBeat, after ? 1.1f : 0.6f);
                if (after && (k == 1 || k == 3))
                    snare(m, t + k * kBeat, 0.9f);
            }
        }
        if (b == kChange - 1)
            for (int k = 0; k < 16; ++k)
                snare(m, t + k * kBeat / 4, 0.2f + 0.05f * k);
    }
    riser(m, kRiser * kBar, kChange * kBar, 1.0f);
    crash(m, kChange * kBar, 1.2f);
    crash(m, kEnding * kBar, 0.9f);
    const double end = kEnding * kBar;
    pad(m, end, 4 * kBar, {40, 52, 56, 59, 64, 68}, 1.1f, 0.45f);
    bass(m, end, 4 * kBar, 28, 0.9f);
    for (int k = 0; k < 6; ++k)
        bell(m, end + k * 2 * kBeat, 2 * kBeat, 76 + (k % 3) * 4 - (k / 3) * 12 + 12, 0.7f,
             k % 2 ? 0.4f : -0.4f, 3.0f);
    effects(m, kBeat * 0.75);
    return finish(m, 0.3, 3.0);
}

} // namespace

std::vector<float> synthesizeMusic(bool level2, int sampleRate) {
    return level2 ? portPiece(sampleRate) : roomPiece(sampleRate);
}
