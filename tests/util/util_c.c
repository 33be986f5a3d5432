/* Uses the utilities from C: the header must compile as C, and the
   names must link as declared. */
#include <stdlib.h>

#include "util/util.h"

/* Joins a and b after a copy of a list of two words. */
char *abi_join(const char *a, const char *b)
{
	const char *src[3] = { a, b, NULL };
	void **l = NULL;
	int n = 0;
	char *s;

	l = listp_1(l, &n, (void **)src);
	s = strp_(NULL, (char **)l, 0);
	free(l);
	return s;
}
