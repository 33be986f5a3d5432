/* The resident library "orvrlib.so" of the tests (built with loud.c,
   which reports its loading and unloading). */
#include "tests/standins/orvlib/show.h"

/* Answers -1, so a test can tell it from the general Segment. */
value Segment(value v)
{
	record("resident Segment", v);
	return number(-1);
}
