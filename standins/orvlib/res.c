/* The resident library "orvrlib.so" of the tests. */
#include "show.h"

__attribute__((constructor)) static void load(void)
{
	printf("orvrlib: load\n");
}

__attribute__((destructor)) static void unload(void)
{
	printf("orvrlib: unload\n");
}

/* Answers -1, so a test can tell it from the general Segment. */
value Segment(value v)
{
	record("resident Segment", v);
	return number(-1);
}
