/* The interpreter core of orvcalc: the object table, the lookup of
   functions in the libraries "orvrlib.so" and "orvlib.so", and the
   evaluator.  Function libraries include this header for `value` and
   the type codes; it compiles as C and as C++. */
#ifndef ORV_INTERP_H
#define ORV_INTERP_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <assert.h>
#endif

#ifdef __cplusplus
#define ORV_ALIGN8 alignas(8)
extern "C" {
#else
#define ORV_ALIGN8 _Alignas(8)
#endif

enum { T_END = 0, T_NUM = 1, T_LIST = 2, T_STR = 3 };

/* One value, passed and returned by value, also to and from library
   functions, so its layout is fixed: 24 bytes, fields at 0, 8 and 16,
   with 32-bit pointers too (the num alignment keeps ARM and x86 alike).
   ref is the text of a T_STR and the item array of a T_LIST; an item
   array ends with a T_END record. */
typedef struct value {
	uint8_t type;
	ORV_ALIGN8 double num;
	void *ref;
} value;

static_assert(sizeof(value) == 24, "value is 24 bytes");
static_assert(offsetof(value, num) == 8, "num at 8");
static_assert(offsetof(value, ref) == 16, "ref at 16");

/* The form of every library function: its symbol is its plain name. */
typedef value (*cfunc)(value);

#define NPAGE 10000	/* room in the object table */
#define MAXDEPTH 1000	/* nesting of parse at which evaluation gives up */

/* One named object.  The table keeps the pointers it is given; the
   caller keeps both texts alive. */
typedef struct pagerec {
	const char *name;
	const char *def;
	void *spare[2];
} pagerec;

extern pagerec page[NPAGE];
extern int len_page;
extern void *residentlib;

int orvo_lookup(const char *name);
int orvo_set(const char *name, const char *def, char flag);
int args_lookup(const char *name);
void reloadresidentlib(void);
void *c_lookup(const char *name);

/* Keep the library that holds fn loaded until c_release; see lib.cc. */
void *c_hold(void *fn);
void c_release(void *hold);

value parse(int index, value *args, char opt_a, char opt_b, char opt_c, int depth);
int lenof(value *items);
void freelist(value *items);

#ifdef __cplusplus
}
#endif

#endif
