/* Heap strings, the delimiter scanner, whitespace cleaning and the
   formatting routines that keep their result in storage of their own. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "util/util.h"

char *srbuf;
char *out1;
char *str;
char **stra;
int len_stra;

int strchr_off(const char *s, int c)
{
	const char *p = strchr(s, c);

	return p ? (int)(p - s) : -1;
}

/* Joins the texts of l onto s, or with replace into a fresh string,
   releasing s (so the texts may then lie inside s). */
char *strp_(char *s, char **l, char replace)
{
	char *t = replace ? NULL : s;
	size_t b = t ? strlen(t) : 0;
	size_t n = b;
	char **p;

	for (p = l; *p; p++)
		n += strlen(*p);
	t = (char *)realloc(t, n + 1);
	if (n == 0)
		t[0] = '\0';
	for (p = l; *p; p++) {
		size_t k = strlen(*p);

		memcpy(t + b, *p, k + 1);
		b += k;
	}
	if (replace)
		free(s);
	return t;
}

/* Appends c to the text s of length n.  One reallocation per
   character: the block is always exactly as long as the text and its
   NUL.  Callers that build a text byte by byte carry n themselves, so
   that a long text costs its length and not the square of it. */
static char *addc(char *s, size_t n, char c)
{
	s = (char *)realloc(s, n + 2);
	s[n] = c;
	s[n + 1] = '\0';
	return s;
}

char *strp_c(char *s, char c)
{
	return addc(s, s ? strlen(s) : 0, c);
}

int strread_until(const char **cur, const char *delims)
{
	size_t n = 0;

	if (!srbuf)
		srbuf = strp_c(NULL, '\0');
	else
		srbuf[0] = '\0';
	while (**cur && !strchr(delims, **cur)) {
		srbuf = addc(srbuf, n++, **cur);
		(*cur)++;
	}
	return (unsigned char)**cur;
}

static int isws(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/* Drops leading whitespace and turns every later run of it into one
   space; a text of whitespace only becomes one space. */
char *squeeze(char *s)
{
	char *r = strp_c(NULL, '\0');
	size_t n = 0;
	int pend = 0;
	const char *p;

	for (p = s; *p; p++) {
		if (isws(*p)) {
			if (n)
				pend = 1;
			continue;
		}
		if (pend)
			r = addc(r, n++, ' ');
		r = addc(r, n++, *p);
		pend = 0;
	}
	if ((*s && !n) || pend)
		r = addc(r, n, ' ');
	free(s);
	return r;
}

char *trim(char *s)
{
	size_t n;

	if (*s == ' ')
		s++;
	n = strlen(s);
	if (n && s[n - 1] == ' ')
		s[n - 1] = '\0';
	return s;
}

/* Quotes a text as one printed word: a quote inside is escaped with a
   backslash, and a text ending in a slash or a backslash gets one more
   slash, so that no backslash stands right before the closing quote.
   The length is measured first so the block is allocated once. */
char *singlequote(const char *s)
{
	size_t n = strlen(s);
	size_t len = n + 2;
	const char *p;
	char *o;

	free(out1);
	for (p = s; *p; p++)
		if (*p == '\'')
			len++;
	if (n && (s[n - 1] == '\\' || s[n - 1] == '/'))
		len++;
	o = out1 = (char *)malloc(len + 1);
	*o++ = '\'';
	for (p = s; *p; p++) {
		if (*p == '\'')
			*o++ = '\\';
		*o++ = *p;
	}
	if (n && (s[n - 1] == '\\' || s[n - 1] == '/'))
		*o++ = '/';
	*o++ = '\'';
	*o = '\0';
	return out1;
}

char *tostr(int n)
{
	int len = snprintf(NULL, 0, "%d", n);

	free(str);
	str = (char *)malloc((size_t)len + 1);
	snprintf(str, (size_t)len + 1, "%d", n);
	return str;
}

char *dex_1(const char *s, int slot)
{
	if (slot + 1 > len_stra) {
		stra = (char **)realloc(stra, (size_t)(slot + 1) * sizeof *stra);
		for (int i = slot; i >= len_stra; i--)
			stra[i] = NULL;
		len_stra = slot + 1;
	}
	free(stra[slot]);
	stra[slot] = strdup(s);
	return stra[slot];
}
