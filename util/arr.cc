/* Length-prefixed arrays: an int holding the data length, then the
   data.  The handle points at the data, 4 bytes into the block. */
#include <stdlib.h>
#include <string.h>

#include "util/util.h"

static int *head(void *a)
{
	return (int *)a - 1;
}

static int alen(void *a)
{
	return a ? *head(a) : 0;
}

void *arralloc(int n)
{
	int *b = (int *)malloc(sizeof(int) + (size_t)n);

	*b = n;
	return b + 1;
}

/* Null is the empty array, so there is nothing to release for it. */
int arrfree(void *a)
{
	if (a)
		free(head(a));
	return 0;
}

void *arrrealloc(void *a, int n)
{
	int *b;

	if (!a)
		return arralloc(n);
	b = (int *)realloc(head(a), sizeof(int) + (size_t)n);
	return b + 1;
}

/* Appends len bytes of src to a, or with replace builds a fresh array
   of those bytes alone and releases a (so src may lie inside a). */
void *arrp_(void *a, const void *src, int len, char replace)
{
	void *t = replace ? NULL : a;
	int b = alen(t);

	t = arrrealloc(t, b + len);
	if (len > 0)
		memcpy((char *)t + b, src, (size_t)len);
	*head(t) = b + len;
	if (replace)
		arrfree(a);
	return t;
}
