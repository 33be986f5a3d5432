/* Null-terminated pointer lists. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "util/util.h"

int listlen(void **l)
{
	int n = 0;

	while (l[n])
		n++;
	return n;
}

void **listcopy(void **dst, void **src)
{
	while (*src)
		*dst++ = *src++;
	return dst;
}

void **listncopy(void **dst, void **src, int n)
{
	for (; n > 0; n--)
		*dst++ = *src++;
	return dst;
}

/* Copies |n| slots one at a time, so that overlapping ranges move
   safely: for n > 0 the range starting at src is copied last slot first
   into the range ending at dst; for n < 0 the range ending at src is
   copied first slot first into the range starting at dst. */
void **listnmove(void **dst, void **src, int n)
{
	int i;

	if (n > 0) {
		for (i = n - 1; i >= 0; i--)
			*dst-- = src[i];
		return dst;
	}
	for (i = n + 1; i <= 0; i++)
		*dst++ = src[i];
	return dst;
}

char **strlistfind(char **l, const char *s)
{
	for (; *l; l++)
		if (strcmp(*l, s) == 0)
			return l;
	return NULL;
}

int strlistfind_off(char **l, const char *s)
{
	char **p = strlistfind(l, s);

	return p ? (int)(p - l) : -1;
}

int strlistcount(char **l, const char *s)
{
	int n = 0;

	for (; *l; l++)
		if (strcmp(*l, s) == 0)
			n++;
	return n;
}

void listremove(void **slot)
{
	if (!slot)
		return;
	do
		slot[0] = slot[1];
	while (*slot++);
}

/* Appends src and its 0 slot; the block grows by exactly what is added. */
void **listp_1(void **l, int *len, void **src)
{
	int a = listlen(src);
	int k = *len;

	l = (void **)realloc(l, (size_t)(k + a + 1) * sizeof *l);
	memcpy(l + k, src, (size_t)(a + 1) * sizeof *l);
	*len = k + a;
	return l;
}

/* The same append under the name twopass knows it by. */
void **listp_(void **l, int *len, void **src)
{
	return listp_1(l, len, src);
}

/* Appends n slots and leaves room for a 0 slot that the caller writes. */
void **nlistp_(void **l, int *len, void **src, int n)
{
	int k = *len;

	if (n < 0)
		n = 0;
	l = (void **)realloc(l, (size_t)(k + n + 1) * sizeof *l);
	listncopy(l + k, src, n);
	*len = k + n;
	return l;
}

void pargs(char **l)
{
	for (; *l; l++)
		printf("%s%c", singlequote(*l), ' ');
	printf("\n");
}
