/* Function libraries of the orv interpreter: the value record, its type
   codes, the form cfunc of a library function, and helpers that build
   results and walk lists.  It compiles as C and as C++.

   A library function takes one value and returns one, and is found by
   its plain symbol name:

	value Twice(value v)
	{
		return vnum(v.type == T_NUM ? 2 * v.num : 0);
	}

   The arguments of a call arrive as one value: none as T_END, one as
   itself, two or more as a T_LIST of them (so f(1,2) and f({1,2}) are
   the same call).  From C++ such a function needs C linkage (extern
   "C", or ORV_EXPORT below).  The interpreter never releases a value,
   and it may unload the library at its next lookup: build every string
   and item array of a result in malloc storage, as the helpers below
   do. */
#ifndef ORV_INTERP_CFUNC_H
#define ORV_INTERP_CFUNC_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

/* C99 and C++11 are enough: the alignment and the layout checks fall
   back on the compiler's own forms where the language has none. */
#if defined(__cplusplus) && __cplusplus >= 201103L
#define ORV_ALIGN8 alignas(8)
#define ORV_CHECK(c, msg) static_assert(c, msg)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define ORV_ALIGN8 _Alignas(8)
#define ORV_CHECK(c, msg) _Static_assert(c, msg)
#else
#define ORV_ALIGN8 __attribute__((aligned(8)))
#define ORV_CHECK_(c, line) typedef char orv_check_##line[(c) ? 1 : -1]
#define ORV_CHECK__(c, line) ORV_CHECK_(c, line)
#define ORV_CHECK(c, msg) ORV_CHECK__(c, __LINE__)
#endif

/* Marks a function of the language: exported under its plain name
   with C linkage, also from a library built with -fvisibility=hidden,
   which keeps every other symbol from being called by name:

	ORV_EXPORT value Twice(value v) { ... } */
#ifdef __cplusplus
#define ORV_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define ORV_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* T_ERR is a function's error result, never a value of the language:
   ref is its message.  orv reports it, naming the function, and goes
   on with the number 0; see verror. */
enum { T_END = 0, T_NUM = 1, T_LIST = 2, T_STR = 3, T_ERR = 4 };

/* One value, passed and returned by value, also to and from library
   functions, so its layout is fixed: 24 bytes, fields at 0, 8 and 16,
   with 32-bit pointers too (the num alignment keeps ARM and x86 alike).
   ref is the text of a T_STR and the item array of a T_LIST; an item
   array ends with a T_END record.  A T_END value is the empty value. */
typedef struct value {
	uint8_t type;
	ORV_ALIGN8 double num;
	void *ref;
} value;

ORV_CHECK(sizeof(value) == 24, "value is 24 bytes");
ORV_CHECK(offsetof(value, num) == 8, "num at 8");
ORV_CHECK(offsetof(value, ref) == 16, "ref at 16");

/* The form of every library function: its symbol is its plain name. */
typedef value (*cfunc)(value);

/* A number. */
static inline value vnum(double d)
{
	value v = { T_NUM, d, NULL };

	return v;
}

/* A string holding a copy of s; the empty value if s is null or there
   is no memory. */
static inline value vstr(const char *s)
{
	size_t n = s ? strlen(s) + 1 : 0;
	value v = { T_STR, 0, s ? malloc(n) : NULL };

	if (!v.ref)
		v.type = T_END;
	else
		memcpy(v.ref, s, n);
	return v;
}

/* An error result carrying a copy of msg, for a call a function cannot
   answer (a wrong number of arguments, an argument of the wrong kind):
   orv reports "NAME: msg" where the call stands and takes the number
   0 in its place.  Without memory for the message it is the number 0. */
static inline value verror(const char *msg)
{
	value v = vstr(msg);

	if (v.type == T_STR)
		v.type = T_ERR;
	else
		v = vnum(0);
	return v;
}

/* A list of the n values at items, copied into a fresh item array.
   An item is never T_END, which would end the list early.  n <= 0
   gives the empty value, as {} does; n = 1 gives a list of one item,
   which no definition can write. */
static inline value vlist(const value *items, int n)
{
	value v = { T_LIST, 0, NULL };
	value *a;

	if (n <= 0 || !(a = (value *)malloc(((size_t)n + 1) * sizeof *a))) {
		v.type = T_END;
		return v;
	}
	memcpy(a, items, (size_t)n * sizeof *a);
	memset(&a[n], 0, sizeof a[n]);
	v.ref = a;
	return v;
}

/* The items of a list, ended by a T_END record; any other value has
   none:  for (const value *p = vitems(v); p->type != T_END; p++) */
static inline const value *vitems(value v)
{
	static const value end = { T_END, 0, NULL };

	return v.type == T_LIST && v.ref ? (const value *)v.ref : &end;
}

/* The number of items of a list; 0 for any other value. */
static inline int vlen(value v)
{
	const value *p = vitems(v);
	int n = 0;

	while (p[n].type != T_END)
		n++;
	return n;
}

/* Item i of a list, or the empty value when there is none. */
static inline value vitem(value v, int i)
{
	const value *p = vitems(v);

	if (i < 0)
		i = vlen(v);	/* no such item: the closing T_END */
	for (; i > 0 && p->type != T_END; i--)
		p++;
	return *p;
}

#ifdef __cplusplus
}
#endif

#endif
