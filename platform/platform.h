// Stand-ins for the TV platform interfaces this machine lacks: the log sink and a seam over the
// steady clock. On the TV the real platform library provides dlog_vprint; the clock functions are
// this project's own seam so hosts can render offline and tests can replay time exactly.
#pragma once

#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif

// Formats one log line. By default it goes to standard error as "<tag>: <message>"; the
// environment variable VISUALIZATION_LOG set to "off" silences it, any other value names a file
// to append to.
int dlog_vprint(int priority, const char* tag, const char* format, va_list args);

// Sends every line to `sink` instead (with the message exactly as formatted); null restores the
// default output.
typedef void (*platform_log_sink)(int priority, const char* tag, const char* message, void* user);
void platform_log_set_sink(platform_log_sink sink, void* user);

// Nanoseconds on the steady clock, or on the manual clock while it is selected.
long long platform_clock_now_ns(void);
void platform_clock_set_manual(long long start_ns);
void platform_clock_advance(long long ns);
void platform_clock_set_real(void);

#ifdef __cplusplus
}
#endif
