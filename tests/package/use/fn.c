/* A function library built against the installed tree, as docs/function-libraries.md
   shows: with the C compiler and pkg-config's orv-cfunc, or with the
   CMake package's orv::cfunc.  orv loads it with -l. */
#include <stdio.h>

#include "interp/cfunc.h"

/* Sum(X,...): the sum of the numbers among the arguments. */
value Sum(value v)
{
	const value *p;
	double s = 0;

	if (v.type == T_NUM)
		return v;
	for (p = vitems(v); p->type != T_END; p++)
		if (p->type == T_NUM)
			s += p->num;
	return vnum(s);
}

/* Swap(X,Y): the list {Y,X}. */
value Swap(value v)
{
	value a[2];

	if (vlen(v) != 2)
		return vnum(0);
	a[0] = vitem(v, 1);
	a[1] = vitem(v, 0);
	return vlist(a, 2);
}

/* Greet(@NAME): the string "hello NAME". */
value Greet(value v)
{
	char b[64];

	snprintf(b, sizeof b, "hello %s", v.type == T_STR ? (const char *)v.ref : "?");
	return vstr(b);
}
