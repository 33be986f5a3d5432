/* Values written out as a definition writes them, for tests to compare. */
#ifndef ORV_TESTS_SUPPORT_VALUE_H
#define ORV_TESTS_SUPPORT_VALUE_H

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "interp/cfunc.h"

/* v as text: numbers in their shortest exact form, strings after "@",
   lists in braces, "end" for T_END.  A part that is no well-formed
   value sets *bad: a type code of none of the four is written "?" and
   the code, a string or list without its block "?null".  Once the text
   is longer than limit, the rest is "...". */
std::string render(value v, bool *bad = nullptr, size_t limit = SIZE_MAX);

#endif
