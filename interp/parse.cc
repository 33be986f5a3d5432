/* The evaluator: scans a definition once from delimiter to delimiter,
   tracing every token, and builds its value on the way.  There is no
   syntax tree; open brackets nest on a level stack.

   Values are never released: item arrays, string texts and the level
   stack's arrays live until the process ends, so values may share item
   arrays freely.  All such storage comes from the four functions below
   marked "never released". */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "interp/interp.h"
#include "util/util.h"

static const value END = { T_END, 0.0, NULL };

/* orvcalc's settings: trace lines and messages together on standard
   output.  Another program over the evaluator may turn the trace off
   and send the messages elsewhere, each after a tag of its own. */
int trace = 1;
FILE *msgfile;
const char *msgtag = "";
int nmsg;

/* parse calls now active, and whether the depth bound has been hit: then
   every active parse gives up and the outermost one clears the mark. */
static int nest;
static int unwind;

/* One level per open bracket; level 0 is the definition's top level. */
struct levels {
	int n;		/* slots allocated; they never shrink */
	int top;	/* innermost open level */
	int count;	/* items of the innermost level */
	value **items;	/* item array of each level */
	int *outer;	/* the enclosing level's count when it opened */
	cfunc *fn;	/* library function its call will call, or null */
	int *obj;	/* object its call will evaluate, or -1 */
	void **hold;	/* keeps fn's library loaded until the call */
};

/* Every message goes through here, to be counted. */
static void note(const char *fmt, const char *name)
{
	FILE *f = msgfile ? msgfile : stdout;

	nmsg++;
	fputs(msgtag, f);
	fprintf(f, fmt, name);
}

static value num(double d)
{
	value v = END;

	v.type = T_NUM;
	v.num = d;
	return v;
}

/* Never released: a fresh item array of a single T_END record. */
static value *newitems(void)
{
	value *a = (value *)malloc(sizeof *a);

	*a = END;
	return a;
}

/* Never released: grows an item array by exactly one record, keeping it
   terminated. */
static value *additem(value *a, int n, value v)
{
	a = (value *)realloc(a, (size_t)(n + 2) * sizeof *a);
	a[n] = v;
	a[n + 1] = END;
	return a;
}

/* Never released: the text of a T_STR value. */
static char *newtext(const char *t)
{
	return strdup(t);
}

/* Never released: one more slot on each of the level stack's arrays. */
static void growlevels(struct levels *L)
{
	int n = ++L->n;

	L->items = (value **)realloc(L->items, (size_t)n * sizeof *L->items);
	L->fn = (cfunc *)realloc(L->fn, (size_t)n * sizeof *L->fn);
	L->obj = (int *)realloc(L->obj, (size_t)n * sizeof *L->obj);
	L->outer = (int *)realloc(L->outer, (size_t)n * sizeof *L->outer);
	L->hold = (void **)realloc(L->hold, (size_t)n * sizeof *L->hold);
}

int lenof(value *items)
{
	int n = 0;

	while (items[n].type != T_END)
		n++;
	return n;
}

/* Item arrays may be shared by values, so there is nothing to release. */
void freelist(value *items)
{
	(void)items;
}

static void append(struct levels *L, value v)
{
	L->items[L->top] = additem(L->items[L->top], L->count++, v);
}

static void openlevel(struct levels *L, cfunc fn, void *hold, int obj)
{
	int t = ++L->top;

	if (t == L->n)
		growlevels(L);
	L->items[t] = newitems();
	L->outer[t] = L->count;
	L->fn[t] = fn;
	L->hold[t] = hold;
	L->obj[t] = obj;
	L->count = 0;
}

/* The items of the innermost level as one value: none gives its T_END
   record, one gives that item, more give a list over the array. */
static value gather(struct levels *L)
{
	value *a = L->items[L->top];
	value v;

	if (L->count > 1) {
		v = END;
		v.type = T_LIST;
		v.ref = a;
		return v;
	}
	v = a[0];
	freelist(a);
	return v;
}

/* The enclosing level goes on with the count it had when this one
   opened.  Kept on the stack, not counted again from its array: a
   count at every close would make a list of n lists cost n^2. */
static void closelevel(struct levels *L, value v)
{
	c_release(L->hold[L->top]);
	L->count = L->outer[L->top];
	L->top--;
	append(L, v);
}

/* The value of a token that is no call's name. */
static value classify(const char *t, value *args, char a, char b, char c, int depth)
{
	value v;
	int i;

	if (t[0] == '@') {
		v = END;
		v.type = T_STR;
		v.ref = newtext(t + 1);
		return v;
	}
	if (strchr("+-.0123456789", t[0]))
		return num(strtod(t, NULL));
	i = args_lookup(t);
	if (i >= 0 && args)
		return args[i];
	i = orvo_lookup(t);
	if (i < len_page)
		return parse(i, NULL, a, b, c, depth + 1);
	note("variable %s undefined\n", t);
	return num(0);
}

/* The call that ")" makes at the innermost level. */
static value call(struct levels *L, char a, char b, char c, int depth)
{
	int t = L->top;
	value arg = gather(L);
	value v;

	if (L->fn[t]) {
		v = L->fn[t](arg);
	} else if (L->obj[t] != -1) {
		v = parse(L->obj[t], L->items[t], a, b, c, depth + 1);
	} else {
		v = num(0);
	}
	freelist(L->items[t]);
	return v;
}

/* Opens the level of a call and finds what the call will run. */
static void opencall(struct levels *L, const char *t)
{
	void *fn = c_lookup(t);
	int i;

	if (fn) {
		openlevel(L, (cfunc)fn, c_hold(fn), -1);
		return;
	}
	i = orvo_lookup(t);
	if (i >= len_page) {
		i = -1;
		note("function %s undefined\n", t);
	}
	openlevel(L, NULL, NULL, i);
}

static value eval(int index, value *args, char a, char b, char c, int depth)
{
	struct levels L = { 0, -1, 0, NULL, NULL, NULL, NULL, NULL };
	const char *p = page[index].def;
	char *tok = NULL;
	value v;
	int d;

	/* A leading "(...)" is a user-defined function's parameter list;
	   without its ")" the whole definition is skipped. */
	if (*p == '(') {
		const char *q = strchr(p, ')');

		p = q ? q + 1 : p + strlen(p);
	}
	openlevel(&L, NULL, NULL, -1);

	do {
		const char *t;

		d = strread_until(&p, "({,})");
		if (d)
			p++;
		free(tok);
		tok = strdup(srbuf);
		if (trace) {
			printf("%d %s %c\n", depth, tok, d);
			fflush(stdout);
		}
		tok = squeeze(tok);
		t = trim(tok);
		if (trace)
			printf("%d %s %c\n", depth, t, d);

		if (d == '(')
			opencall(&L, t);
		else if (*t)
			append(&L, classify(t, args, a, b, c, depth));
		if (unwind)
			break;

		/* A closing bracket with only level 0 open acts as ",". */
		if (d == ')' && L.top > 0) {
			v = call(&L, a, b, c, depth);
			if (unwind)
				break;
			closelevel(&L, v);
		} else if (d == '{') {
			openlevel(&L, NULL, NULL, -1);
		} else if (d == '}' && L.top > 0) {
			closelevel(&L, gather(&L));
		}
	} while (d);

	/* Levels still open are dropped with their calls unmade. */
	v = gather(&L);
	for (; L.top > 0; L.top--)
		c_release(L.hold[L.top]);
	free(tok);
	return v;
}

value parse(int index, value *args, char opt_a, char opt_b, char opt_c, int depth)
{
	value v;

	if (nest >= MAXDEPTH) {
		note("object %s nested too deeply\n", page[index].name);
		unwind = 1;
		return num(0);
	}
	nest++;
	v = eval(index, args, opt_a, opt_b, opt_c, depth);
	nest--;
	if (unwind) {
		v = num(0);
		if (nest == 0)
			unwind = 0;
	}
	return v;
}
