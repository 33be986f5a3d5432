/* The escaped string token @"...", which orv reads and writes for the
   strings that the plain @TEXT cannot carry. */
#include <stdlib.h>
#include <string.h>

#include "interp/interp.h"

static int isws(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static int hexval(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

/* A token is escaped only when the closing quote is followed by nothing
   but whitespace up to a delimiter or the end.  Anything else is read
   as before, so a plain string may begin with a double quote: the
   writer escapes exactly those that would read as this form. */
const char *quoteend(const char *p)
{
	while (isws(*p))
		p++;
	if (p[0] != '@' || p[1] != '"')
		return NULL;
	for (p += 2; *p && *p != '"'; p++)
		if (*p == '\\' && p[1])
			p++;
	if (!*p)
		return NULL;
	for (p++; isws(*p); p++)
		;
	return *p && !strchr("({,})", *p) ? NULL : p;
}

int unescape(const char **p)
{
	const char *s = *p;
	int hi, lo;

	if (*s != '\\') {
		*p = s + 1;
		return (unsigned char)*s;
	}
	*p = s + 2;
	switch (s[1]) {
	case '"':
	case '\\':
		return s[1];
	case 't':
		return '\t';
	case 'n':
		return '\n';
	case 'r':
		return '\r';
	case 'x':
		hi = hexval(s[2]);
		lo = hi < 0 ? -1 : hexval(s[3]);
		if (lo < 0)
			return -1;
		*p = s + 4;
		return hi * 16 + lo;
	}
	return -1;
}

/* A faulty escape is taken as it stands, so that evaluation goes on;
   orv's check of the input has rejected it before. */
char *unquote(const char *t)
{
	char *r = (char *)malloc(strlen(t) + 1);
	size_t n = 0;
	const char *p;
	int c;

	while (isws(*t))
		t++;
	for (p = t + 2; *p && *p != '"';) {
		const char *at = p;

		c = unescape(&p);
		if (c <= 0) {
			p = at + 1;
			c = (unsigned char)*at;
		}
		r[n++] = (char)c;
	}
	r[n] = '\0';
	return r;
}
