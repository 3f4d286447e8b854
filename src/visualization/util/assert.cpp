#include "visualization/util/assert.h"

#include <cstdio>
#include <cstdlib>

#include "visualization/log.h"

void vizAssertFailed(const char* condition, const char* file, int line, const char* function) {
    // The platform log may be silenced or redirected to a file; standard error is where a
    // developer looking at a crash will look first, so the report goes to both.
    logMessage("Assertion failed: %s, file %s, line %d, function %s", condition, file, line,
               function);
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d, function %s\n", condition, file,
                 line, function);
    std::fflush(stderr);
    std::abort();
}

void vizAssertFailed(const char* condition, const char* detail, const char* file, int line,
                     const char* function) {
    logMessage("Assertion failed: %s (%s), file %s, line %d, function %s", condition, detail, file,
               line, function);
    std::fprintf(stderr, "Assertion failed: %s (%s), file %s, line %d, function %s\n", condition,
                 detail, file, line, function);
    std::fflush(stderr);
    std::abort();
}
