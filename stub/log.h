/* The run's log file: one UTF-8 line per event with the time of day. Errors are counted so
 * that the exit code can tell whether everything was done. */
#ifndef BVQ_STUB_LOG_H
#define BVQ_STUB_LOG_H

#include <windows.h>

enum { LOG_INFO, LOG_WARN, LOG_ERROR };

void log_open(const wchar_t *path);    /* NULL: no file; lines are dropped */
void log_line(int level, const wchar_t *fmt, ...);
int log_errors(void);
void log_close(void);

#endif
