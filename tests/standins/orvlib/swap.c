/* A general library that is rebuilt while orv runs: Swap() renames
   next.so over orvlib.so in the working folder, as an install of a new
   build would, and takes as long as a quick rebuild (orv looks at a
   library's file once a millisecond at most).  Which() tells the build
   (GEN) and how often it was called since that build was loaded. */
#include <stdio.h>
#include <time.h>

#include "tests/standins/orvlib/show.h"

static int calls;

value Which(value v)
{
	(void)v;
	return number(100 * GEN + ++calls);
}

value Swap(value v)
{
	struct timespec ms2 = { 0, 2000000 };
	int ok = rename("next.so", "orvlib.so") == 0;

	(void)v;
	nanosleep(&ms2, NULL);
	return number(ok);
}
