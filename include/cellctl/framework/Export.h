#pragma once

// The library is built with hidden visibility; only classes marked here are
// part of its binary interface.
#if defined(_WIN32)
#define CELLCTL_EXPORT
#else
#define CELLCTL_EXPORT __attribute__((visibility("default")))
#endif
