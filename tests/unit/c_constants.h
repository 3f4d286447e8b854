/* The host constants as a C99 translation unit sees them, handed to the C++ test that holds
 * them against the library's own tables. */
#ifndef VIZ_TESTS_C_CONSTANTS_H
#define VIZ_TESTS_C_CONSTANTS_H

#ifdef __cplusplus
extern "C" {
#endif

struct CConstant {
    const char* name;
    int value;
};

struct CConstantList {
    const char* prefix;
    const struct CConstant* rows;
    int rowCount;
    int declaredCount; /* the list's _COUNT constant */
};

extern const struct CConstantList cRotateInfo;
extern const struct CConstantList cSpeakerInfo;
extern const struct CConstantList cSoundClass;

#ifdef __cplusplus
}
#endif

#endif
