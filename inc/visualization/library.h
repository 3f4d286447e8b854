// The ten functions a host calls, with plain C names. Call them all from the one thread that has
// the GL context current. Enumerations cross as 32-bit integers with the values of
// visualization/library_types.h; values outside an enumeration are logged and dropped.
#pragma once

#include <stdint.h>

#include "visualization/library_types.h"

#ifdef __cplusplus
extern "C" {
#endif

// The host's band record: the library copies the values before the call returns.
struct BandsInfo {
    uint32_t count;
    const float* data;
};

void OnCreateGlApp(const char* resPath, int32_t rotationInfo);
void OnTerminateGlApp(void);
void OnUpdateGlApp(void);
void UpdateTrackChange(void);
void UpdateBandsInfo(const struct BandsInfo* bandsInfo);
void UpdateBeatsInfo(int32_t beats);
void UpdateSoundClass(int32_t soundClass);
void StartRotatingDevice(int32_t toRotateInfo);
void UpdateRotationDegree(float degree);
void UpdateSpeakerInfo(int32_t curSpeakerInfo);

#ifdef __cplusplus
}
#endif
