// The numbers the content generator and the demo must agree on. Both include this header;
// neither links the other, so the compiler, not a comment, keeps them in step.
// Header only: constants, no code, no includes.
#pragma once

namespace show {

// --- the show's timing, in seconds of the demo clock ---
inline constexpr double kSceneOneEnd = 115.0;   // scene 1's fade starts; its music arrives here
inline constexpr double kAnimationStart = 47.0; // after the switch: platform and UFO rise
inline constexpr double kPhaseTwo = 5.0;        // after the animation start: the UFO tilts
inline constexpr double kPhaseThree = 9.0;      // after the animation start: the UFO flies off
inline constexpr double kSceneTwoEnd = 16.0;    // after the animation start: the end fade
inline constexpr float kFadeStep = 0.01f;       // brightness per frame during a fade
inline constexpr float kFadeEnd = 2.0f;         // a fade ends once brightness passes this

// --- the scenes ---
// The sky box is drawn with its centre this far below the eye; the generator paints the
// horizon for an eye at this height above the centre.
inline constexpr float kSkyboxDrop = 80.0f;
// The models of the idle scene wait this far away along z.
inline constexpr float kParkedZ = 1000.0f;
// The scene-2 animation steps once per drawn scene-2 object (sky box, port, UFO, platform),
// so this count sets how far the UFO lifts, tilts and flies.
inline constexpr int kSceneTwoObjectCount = 48;

// The lighthouse's lantern in the harbour (its centre), where the beam turns; the beam
// turns this many degrees for each degree of the platform's spin (a turn in 10 s).
inline constexpr float kLantern[3] = {-82.0f, 26.1f, 18.0f};
inline constexpr float kBeamTurnsPerSpin = 3.0f;

// Model files of each scene, relative to the run folder; the sky box comes first.
inline constexpr const char* kSceneOneModels[] = {"models/skybox.3ds", "models/room.3ds"};
inline constexpr const char* kSceneTwoModels[] = {"models/skybox2.3ds", "models/port.3ds",
                                                  "models/ufo.3ds", "models/platform.3ds"};

// --- files in the run folder ---
inline constexpr const char* kLevelOneMusicFile = "bgmusic.mp3";
inline constexpr const char* kLevelTwoMusicFile = "lvl2.mp3";

} // namespace show
