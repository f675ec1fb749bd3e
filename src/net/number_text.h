#pragma once
// The leading decimal number of a text, read as the Windows C library's atof reads one.
#include "app/text.h"

// Leading white space skipped; an optional sign, digits with at most one point ("1." and ".5"
// count), an optional exponent written e, E, d or D. Hexadecimal and the words for infinity and
// not-a-number are not numbers. No number gives 0.
double leadingNumber(const Text& text);
