#include "visualization/speaker_overlay_preset.h"

SpeakerOverlayPreset::SpeakerOverlayPreset() {
    // TV speakers sit in pairs at the bottom; models with top (and side) speakers start those a
    // little later so the rings read as separate sources; sound bars have three bottom
    // speakers, the outer ones further out than the TV's own.
    const Parameters tv1{0.0f, 0.0f, 1.9f, 0.0f, 0.0f, 0.0f, 0.35f, 2, 0.0f};
    const Parameters tv2{1.35f, 0.0f, 1.9f, 0.125f, 0.0f, 0.0f, 0.35f, 2, 0.0f};
    const Parameters tv3{1.35f, 1.0f, 1.9f, 0.0f, 0.125f, 0.0f, 0.35f, 2, 0.0f};
    const Parameters tvSoundBar{1.35f, 0.0f, 1.5f, 0.125f, 0.0f, 0.0f, 0.35f, 3, 0.35f};
    const Parameters soundBar{0.0f, 0.0f, 1.5f, 0.0f, 0.0f, 0.0f, 0.35f, 3, 0.35f};
    const Parameters centre{0.0f, 0.0f, 1.9f, 0.0f, 0.0f, 0.0f, 0.35f, 1, 0.0f};

    parameters[SpeakerInfo::TV_1] = tv1;
    parameters[SpeakerInfo::TV_2] = tv2;
    parameters[SpeakerInfo::TV_3] = tv3;
    parameters[SpeakerInfo::TV_SoundBar_1] = tvSoundBar;
    parameters[SpeakerInfo::TV_SoundBar_2] = tvSoundBar;
    parameters[SpeakerInfo::TV_SoundBar_3] = tvSoundBar;
    parameters[SpeakerInfo::SoundBar_1] = soundBar;
    parameters[SpeakerInfo::SoundBar_2] = soundBar;
    parameters[SpeakerInfo::SoundBar_3] = soundBar;
    parameters[SpeakerInfo::Kiro] = centre;
}
