// Fatal checks of the library's own invariants. They stay on in every build type: a broken
// invariant (a uniform missing from its program, a GL object used before it was created) must
// stop the program where it happens rather than draw garbage for the rest of the session.
#pragma once

// Logs "Assertion failed: <condition>" with the source file, line and function through the
// library's log and to standard error, then aborts.
[[noreturn]] void vizAssertFailed(const char* condition, const char* file, int line,
                                  const char* function);

// As above, with what the check was about (a uniform's name, say) after the condition.
[[noreturn]] void vizAssertFailed(const char* condition, const char* detail, const char* file,
                                  int line, const char* function);

#define VIZ_ASSERT(cond)           \
    ((cond) ? static_cast<void>(0) \
            : vizAssertFailed(#cond, __FILE__, __LINE__, __PRETTY_FUNCTION__))

#define VIZ_ASSERT_DETAIL(cond, detail) \
    ((cond) ? static_cast<void>(0)      \
            : vizAssertFailed(#cond, (detail), __FILE__, __LINE__, __PRETTY_FUNCTION__))
