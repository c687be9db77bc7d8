#pragma once

// Builds with AddressSanitizer check for leaks when the program ends. An
// object that must outlive the program's end on purpose is named here, so
// that the check stays quiet about it (and what it holds) while every other
// leak is still reported. Without the sanitizer this does nothing.

#if defined(__SANITIZE_ADDRESS__)
#define SW_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SW_LEAK_CHECK 1
#endif
#endif

#if defined(SW_LEAK_CHECK)
#include <sanitizer/lsan_interface.h>
#endif

inline void Outlives_Program_On_Purpose(const void *object)
{
#if defined(SW_LEAK_CHECK)
    __lsan_ignore_object(object);
#else
    (void)object;
#endif
}
