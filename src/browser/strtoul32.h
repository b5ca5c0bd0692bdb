#ifndef GLYPHWERK_BROWSER_STRTOUL32_H
#define GLYPHWERK_BROWSER_STRTOUL32_H

#include <cstdint>

// The C library's strtoul with a 32-bit unsigned long, whatever the platform's
// width: leading white space skipped, one sign, an optional 0x/0X prefix in
// base 16, digits up to the first non-digit, 0 without digits; a magnitude
// beyond 32 bits gives 0xFFFFFFFF; a minus sign negates modulo 2^32.
uint32_t strtoul32(const char *text, int base);

#endif
