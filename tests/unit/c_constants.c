/* Built as strict C99, as a C host builds: the public headers compile and give the constants. */
#include "platform.h"
#include "visualization/library.h"

const int cHostValueCounts[] = {VIZ_ROTATE_INFO_COUNT, VIZ_SPEAKER_INFO_COUNT,
                                VIZ_SOUND_CLASS_COUNT};
