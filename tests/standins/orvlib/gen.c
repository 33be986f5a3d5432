/* The general library "orvlib.so" of the tests (built with loud.c,
   which reports its loading and unloading). */
#include "tests/standins/orvlib/show.h"

int orvfix_who(void);

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
