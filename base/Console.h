#pragma once

// The console diagnostics of the system. Errors go to standard error framed in
// red with the "[ ERROR ]: " prefix, warnings to standard output framed in blue
// with "[ WARNING ]: ", progress lines plainly to standard output. The texts
// carry their own line ends, as the callers give them. Every line is flushed at
// once, so that lines from several threads and from both streams keep their order
// when a supervisor reads them through a pipe.
namespace console {

void error(const char *format, ...) __attribute__((format(printf, 1, 2)));
void warning(const char *format, ...) __attribute__((format(printf, 1, 2)));
void print(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace console
