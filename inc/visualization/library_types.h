/* The values a host passes to the ten functions, for hosts written in C (C99 and later).
 * They cross the boundary as 32-bit integers; these constants are the library's own
 * enumerations, value for value, and each name is its value's log name in upper case behind a
 * prefix. A value outside a list is logged and dropped (an unknown orientation in
 * OnCreateGlApp is taken as landscape, an unknown speaker layout as VIZ_SPEAKER_INFO_TV_1). */
#ifndef VISUALIZATION_LIBRARY_TYPES_H
#define VISUALIZATION_LIBRARY_TYPES_H

/* Screen orientation: OnCreateGlApp and StartRotatingDevice. */
enum VizRotateInfo {
    VIZ_ROTATE_INFO_LANDSCAPE = 0,
    VIZ_ROTATE_INFO_PORTRAIT = 1,
    VIZ_ROTATE_INFO_COUNT = 2
};

/* The speaker layout of the device: UpdateSpeakerInfo. */
enum VizSpeakerInfo {
    VIZ_SPEAKER_INFO_TV_1 = 0,
    VIZ_SPEAKER_INFO_TV_2 = 1,
    VIZ_SPEAKER_INFO_TV_3 = 2,
    VIZ_SPEAKER_INFO_TV_SOUNDBAR_1 = 3,
    VIZ_SPEAKER_INFO_TV_SOUNDBAR_2 = 4,
    VIZ_SPEAKER_INFO_TV_SOUNDBAR_3 = 5,
    VIZ_SPEAKER_INFO_SOUNDBAR_1 = 6,
    VIZ_SPEAKER_INFO_SOUNDBAR_2 = 7,
    VIZ_SPEAKER_INFO_SOUNDBAR_3 = 8,
    VIZ_SPEAKER_INFO_KIRO = 9,
    VIZ_SPEAKER_INFO_COUNT = 10
};

/* The character of the music: UpdateSoundClass. */
enum VizSoundClass {
    VIZ_SOUND_CLASS_SOFT = 0,
    VIZ_SOUND_CLASS_LOUD = 1,
    VIZ_SOUND_CLASS_SLOW = 2,
    VIZ_SOUND_CLASS_DYNAMIC = 3,
    VIZ_SOUND_CLASS_MODERATE = 4,
    VIZ_SOUND_CLASS_CALM = 5,
    VIZ_SOUND_CLASS_LIGHT = 6,
    VIZ_SOUND_CLASS_DARK = 7,
    VIZ_SOUND_CLASS_POWERFUL = 8,
    VIZ_SOUND_CLASS_COUNT = 9
};

/* UpdateRotationDegree: the angle of a running rotation, 0 at landscape and 90 at portrait;
 * this value aborts it. */
#define VIZ_ROTATION_DEGREE_ABORTED (-1.0f)

/* UpdateBandsInfo uses at most this many values of a frame; the rest are dropped. */
#define VIZ_MAX_BAND_COUNT 1024u

#endif
