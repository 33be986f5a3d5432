/* The general library "orvlib.so" of the tests.  It reports when it is
   loaded and unloaded, so a test sees each reload. */
#include "show.h"

int orvfix_who(void);

__attribute__((constructor)) static void load(void)
{
	printf("orvlib: load\n");
}

__attribute__((destructor)) static void unload(void)
{
	printf("orvlib: unload\n");
}

/* Answers the number of items it was given. */
value Segment(value v)
{
	record("Segment", v);
	return number(items(v));
}

value twice(value v)
{
	record("twice", v);
	return number(v.type == T_NUM ? 2 * v.num : 0);
}

/* 1 when the library's own orvfix_who is bound, or the number of a
   definition that the process exports, which only wins when the library
   was opened without RTLD_DEEPBIND. */
value who(value v)
{
	(void)v;
	return number(orvfix_who());
}
