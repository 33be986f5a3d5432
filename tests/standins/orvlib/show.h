/* What the stand-in libraries share: a call written out on standard
   output, and the numbers they answer. */
#ifndef ORV_TESTS_STANDINS_ORVLIB_SHOW_H
#define ORV_TESTS_STANDINS_ORVLIB_SHOW_H

#include <stdio.h>

#include "interp/cfunc.h"

/* Prints a value the way it would be written in a definition, with
   "end" for a T_END value. */
static inline void show(value v)
{
	const value *p;

	switch (v.type) {
	case T_END:
		printf("end");
		break;
	case T_NUM:
		printf("%g", v.num);
		break;
	case T_STR:
		printf("@%s", (const char *)v.ref);
		break;
	case T_LIST:
		printf("{");
		for (p = (const value *)v.ref; p->type != T_END; p++) {
			if (p != v.ref)
				printf(",");
			show(*p);
		}
		printf("}");
		break;
	default:
		printf("?%d", v.type);
	}
}

/* Every call is recorded on standard output, where it falls between
   the evaluator's trace lines. */
static inline void record(const char *who, value v)
{
	printf("%s ", who);
	show(v);
	printf("\n");
}

static inline value number(double d)
{
	value v = { T_NUM, d, NULL };

	return v;
}

static inline double items(value v)
{
	const value *p;
	int n = 0;

	if (v.type == T_END)
		return 0;
	if (v.type != T_LIST)
		return 1;
	for (p = (const value *)v.ref; p->type != T_END; p++)
		n++;
	return n;
}

#endif
