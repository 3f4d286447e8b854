/* Built as strict C99, as a C host builds: the public headers and the constants they give. */
#include "platform.h"
#include "visualization/library.h"
#include "visualization/library_types.h"

#include "unit/c_constants.h"

#define ROW(constant) \
    { #constant, constant }
#define LIST(prefix, rows, count) \
    { prefix, rows, (int)(sizeof(rows) / sizeof(rows[0])), count }

static const struct CConstant rotateInfoRows[] = {
    ROW(VIZ_ROTATE_INFO_LANDSCAPE),
    ROW(VIZ_ROTATE_INFO_PORTRAIT),
};

static const struct CConstant speakerInfoRows[] = {
    ROW(VIZ_SPEAKER_INFO_TV_1),          ROW(VIZ_SPEAKER_INFO_TV_2),
    ROW(VIZ_SPEAKER_INFO_TV_3),          ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_1),
    ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_2), ROW(VIZ_SPEAKER_INFO_TV_SOUNDBAR_3),
    ROW(VIZ_SPEAKER_INFO_SOUNDBAR_1),    ROW(VIZ_SPEAKER_INFO_SOUNDBAR_2),
    ROW(VIZ_SPEAKER_INFO_SOUNDBAR_3),    ROW(VIZ_SPEAKER_INFO_KIRO),
};

static const struct CConstant soundClassRows[] = {
    ROW(VIZ_SOUND_CLASS_SOFT),    ROW(VIZ_SOUND_CLASS_LOUD),     ROW(VIZ_SOUND_CLASS_SLOW),
    ROW(VIZ_SOUND_CLASS_DYNAMIC), ROW(VIZ_SOUND_CLASS_MODERATE), ROW(VIZ_SOUND_CLASS_CALM),
    ROW(VIZ_SOUND_CLASS_LIGHT),   ROW(VIZ_SOUND_CLASS_DARK),     ROW(VIZ_SOUND_CLASS_POWERFUL),
};

const struct CConstantList cRotateInfo =
    LIST("VIZ_ROTATE_INFO_", rotateInfoRows, VIZ_ROTATE_INFO_COUNT);
const struct CConstantList cSpeakerInfo =
    LIST("VIZ_SPEAKER_INFO_", speakerInfoRows, VIZ_SPEAKER_INFO_COUNT);
const struct CConstantList cSoundClass =
    LIST("VIZ_SOUND_CLASS_", soundClassRows, VIZ_SOUND_CLASS_COUNT);
