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

/* orv's language, off for orvcalc. */
int params;
int quoted;
int errors;
void (*msghook)(int obj, const char *msg);
void (*usehook)(int obj, value v);
void (*callhook)(const char *name, cfunc fn, value arg, value res);

/* parse calls now active, and whether the depth bound has been hit: then
   every active parse gives up and the outermost one clears the mark. */
static int nest;
static int unwind;

/* orv's memory of values, off for orvcalc, whose every reference
   evaluates and traces afresh.  An evaluation that printed no message
   and called no library function (the only things that can differ from
   one time to the next) gives the same value every time: it is kept
   with the nesting it needed, and handed out again wherever that
   nesting still fits below the bound, so that the bound is reached
   where it would be without the memory.  reach is the deepest nest at
   which parse was entered; impure counts messages and library calls. */
int memo;
volatile sig_atomic_t halt;
static unsigned char known[NPAGE];
static value kept[NPAGE];
static int height[NPAGE];
static int reach;
static int impure;

/* The object of each active parse, outermost first: the depth bound
   names the chain that led to it. */
static int active[MAXDEPTH];

/* One evaluation: its arguments and parameters, and one level per open
   bracket; level 0 is the definition's top level.  The options and the
   depth are only handed on to nested evaluations. */
struct levels {
	value *args;	/* the arguments, or null */
	char a, b, c;	/* the options of parse */
	int depth;
	char **par;	/* parameter names, when bound */
	int npar;	/* their number; -1 without a parameter list */

	int n;		/* slots allocated; they never shrink */
	int top;	/* innermost open level */
	int count;	/* items of the innermost level */
	value **items;	/* item array of each level */
	int *outer;	/* the enclosing level's count when it opened */
	cfunc *fn;	/* library function its call will call, or null */
	int *obj;	/* object its call will evaluate, or -1 */
	void **hold;	/* keeps fn's library loaded until the call */
	char **name;	/* fn's name as written, for its errors */
};

/* Every message goes through here, to be counted.  A hook takes it
   with the object whose definition was being evaluated. */
static void note(const char *msg)
{
	FILE *f = msgfile ? msgfile : stdout;

	nmsg++;
	impure++;
	if (msghook) {
		msghook(nest ? active[nest - 1] : -1, msg);
		return;
	}
	fputs(msgtag, f);
	fputs(msg, f);
}

/* A message of fmt with up to three texts; they may be of any length. */
static void notef(const char *fmt, const char *s1, const char *s2, const char *s3)
{
	int n = snprintf(NULL, 0, fmt, s1, s2, s3);
	char *m = (char *)malloc((size_t)n + 1);

	snprintf(m, (size_t)n + 1, fmt, s1, s2, s3);
	note(m);
	free(m);
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
	L->name = (char **)realloc(L->name, (size_t)n * sizeof *L->name);
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
	L->name[t] = NULL;
	L->count = 0;
}

/* What the level leaves behind when it is closed or dropped. */
static void droplevel(struct levels *L, int t)
{
	c_release(L->hold[t]);
	free(L->name[t]);
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
	droplevel(L, L->top);
	L->count = L->outer[L->top];
	L->top--;
	append(L, v);
}

/* The names of a definition's leading parameter list, cleaned as
   tokens are, in storage of their own; -1 without a list.  "()" has
   none. */
static int parnames(const char *def, char ***out)
{
	const char *p = def + 1, *e;
	char **l = NULL;
	int n = 0;

	*out = NULL;
	if (*def != '(' || !(e = strchr(def, ')')))
		return -1;
	for (;;) {
		const char *q = p;
		char *t;

		while (q < e && *q != ',')
			q++;
		t = squeeze(strndup(p, (size_t)(q - p)));
		l = (char **)realloc(l, (size_t)(n + 1) * sizeof *l);
		l[n++] = strdup(trim(t));
		free(t);
		if (q == e)
			break;
		p = q + 1;
	}
	if (n == 1 && !*l[0]) {
		free(l[0]);
		n = 0;
	}
	*out = l;
	return n;
}

static void freenames(char **l, int n)
{
	int i;

	for (i = 0; i < n; i++)
		free(l[i]);
	free(l);
}

/* The position of t among the parameters, or -1. */
static int parpos(struct levels *L, const char *t)
{
	int i;

	for (i = 0; i < L->npar; i++)
		if (strcmp(L->par[i], t) == 0)
			return i;
	return -1;
}

/* "1 argument", "2 arguments". */
static const char *many(char *buf, int n)
{
	sprintf(buf, "%d argument%s", n, n == 1 ? "" : "s");
	return buf;
}

/* The arguments of a call of obj as its parameters take them, or null
   when their number does not fit.  A function of one parameter takes
   the call's argument whole, as a library function does, so f(1,2) and
   f({1,2}) pass it the same list; one of several takes the argument's
   items in order, and one of none takes nothing. */
static value *bind(int obj, value arg)
{
	char **names, b1[32], b2[16];
	int np = parnames(page[obj].def, &names), n;
	value *a;

	if (np < 0)
		np = 0;
	if (np == 1 || (arg.type != T_LIST && arg.type != T_END))
		a = additem(newitems(), 0, arg);
	else if (arg.type == T_LIST && arg.ref)
		a = (value *)arg.ref;
	else
		a = newitems();
	n = lenof(a);
	if (n < np)
		notef("function %s: no argument for parameter %s\n", page[obj].name, names[n], NULL);
	else if (n > np) {
		sprintf(b2, "%d", n);
		notef("function %s takes %s, not %s\n", page[obj].name, many(b1, np), b2);
	}
	freenames(names, np);
	return n == np ? a : NULL;
}

/* The value of a token that is no call's name; esc: an escaped string. */
static value classify(struct levels *L, const char *t, int esc)
{
	value v;
	int i;

	if (esc || t[0] == '@') {
		char *u = esc ? unquote(t) : NULL;

		v = END;
		v.type = T_STR;
		v.ref = newtext(u ? u : t + 1);
		free(u);
		return v;
	}
	if (strchr("+-.0123456789", t[0]))
		return vnum(strtod(t, NULL));
	if (params && (i = parpos(L, t)) >= 0) {
		if (L->args && i < lenof(L->args))
			return L->args[i];
		notef("parameter %s has no argument\n", t, NULL, NULL);
		return vnum(0);
	}
	i = args_lookup(t);
	if (i >= 0 && L->args)
		return L->args[i];
	i = orvo_lookup(t);
	if (i < len_page) {
		v = parse(i, NULL, L->a, L->b, L->c, L->depth + 1);
		if (usehook && !unwind)
			usehook(i, v);
		return v;
	}
	notef("variable %s undefined\n", t, NULL, NULL);
	return vnum(0);
}

/* The call that ")" makes at the innermost level. */
static value call(struct levels *L)
{
	int t = L->top;
	value arg = gather(L);
	value *args = L->items[t];
	value v;

	if (L->fn[t]) {
		impure++;
		v = L->fn[t](arg);
		if (callhook)
			callhook(L->name[t], L->fn[t], arg, v);
		if (errors && v.type == T_ERR) {
			notef("%s: %s\n", L->name[t], v.ref ? (const char *)v.ref : "error", NULL);
			v = vnum(0);
		}
	} else if (L->obj[t] != -1) {
		if (params)
			args = bind(L->obj[t], arg);
		v = args ? parse(L->obj[t], args, L->a, L->b, L->c, L->depth + 1) : vnum(0);
	} else {
		v = vnum(0);
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
		if (errors || callhook)
			L->name[L->top] = strdup(t);
		return;
	}
	i = orvo_lookup(t);
	if (i >= len_page) {
		i = -1;
		notef("function %s undefined\n", t, NULL, NULL);
	}
	openlevel(L, NULL, NULL, i);
}

/* An escaped token loses the whitespace around it alone. */
static char *trimquoted(char *t)
{
	size_t n;

	t += strspn(t, " \t\r\n");
	n = strlen(t);
	while (n && strchr(" \t\r\n", t[n - 1]))
		t[--n] = '\0';
	return t;
}

static value eval(int index, value *args, char a, char b, char c, int depth)
{
	struct levels L = { args, a, b, c, depth, NULL, -1,
			    0, -1, 0, NULL, NULL, NULL, NULL, NULL, NULL };
	const char *p = page[index].def;
	char *tok = NULL;
	value v;
	int d;

	if (params)
		L.npar = parnames(p, &L.par);
	/* A leading "(...)" is a user-defined function's parameter list;
	   without its ")" the whole definition is skipped. */
	if (*p == '(') {
		const char *q = strchr(p, ')');

		p = q ? q + 1 : p + strlen(p);
	}
	openlevel(&L, NULL, NULL, -1);

	do {
		const char *e = quoted ? quoteend(p) : NULL;
		const char *t;

		/* The token is copied out of the scan buffer: the nested
		   evaluations below read with the same buffer. */
		free(tok);
		if (e) {
			tok = strndup(p, (size_t)(e - p));
			d = (unsigned char)*e;
			p = e;
		} else {
			d = strread_until(&p, "({,})");
			tok = strdup(srbuf);
		}
		if (d)
			p++;
		/* The token as read is flushed at once, so that what comes of
		   it (a library that writes past stdio when it is loaded at
		   this "(", a crash) shows after the token that led to it.  The
		   cleaned line tells nothing more of where the run stands, and
		   a flush per line would double the writes of the trace. */
		if (trace) {
			printf("%d %s %c\n", depth, tok, d);
			fflush(stdout);
		}
		if (e) {
			t = trimquoted(tok);
		} else {
			tok = squeeze(tok);
			t = trim(tok);
		}
		if (trace)
			printf("%d %s %c\n", depth, t, d);

		if (d == '(')
			opencall(&L, t);
		else if (*t)
			append(&L, classify(&L, t, e != NULL));
		if (halt)
			unwind = 1;
		if (unwind)
			break;

		/* A closing bracket with only level 0 open acts as ",". */
		if (d == ')' && L.top > 0) {
			v = call(&L);
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
		droplevel(&L, L.top);
	freenames(L.par, L.npar < 0 ? 0 : L.npar);
	free(tok);
	return v;
}

/* The names of the objects from active[i] to active[j], index standing
   for active[nest], as "A -> B -> A"; a long run keeps its ends. */
static char *chain(int i, int j, int index)
{
	char *r = strdup("");
	size_t n = 0;
	int k;

	for (k = i; k <= j; k++) {
		const char *s = k < nest ? page[active[k]].name : page[index].name;
		size_t m;

		if (j - i > 8 && k == i + 3) {
			s = "...";
			k = j - 3;
		}
		m = strlen(s);
		r = (char *)realloc(r, n + m + 5);
		if (k > i) {
			memcpy(r + n, " -> ", 4);
			n += 4;
		}
		memcpy(r + n, s, m + 1);
		n += m;
	}
	return r;
}

/* What orv says at the depth bound: the cycle that led there, from the
   first object that repeats, or else that the chain is too long. */
static void toodeep(int index)
{
	char lim[16], *s;
	int i, j;

	for (i = 0; i < nest; i++) {
		for (j = i + 1; j < nest && active[j] != active[i]; j++)
			;
		if (j < nest || active[i] == index)
			break;
	}
	if (i < nest) {
		s = chain(i, j, index);
		notef("nested too deeply in the cycle %s\n", s, NULL, NULL);
	} else {
		sprintf(lim, "%d", MAXDEPTH);
		s = chain(0, nest, index);
		notef("nested more than %s deep: %s\n", lim, s, NULL);
	}
	free(s);
}

void forget(void)
{
	memset(known, 0, sizeof known);
}

value parse(int index, value *args, char opt_a, char opt_b, char opt_c, int depth)
{
	int keep = memo && !args && !trace, outer = reach, at = nest, was = impure;
	value v;

	if (keep && known[index] && nest + height[index] < MAXDEPTH) {
		if (nest + height[index] > reach)
			reach = nest + height[index];
		return kept[index];
	}
	reach = nest;
	if (nest >= MAXDEPTH) {
		if (msghook)
			toodeep(index);
		else
			notef("object %s nested too deeply\n", page[index].name, NULL, NULL);
		unwind = 1;
		return vnum(0);
	}
	active[nest++] = index;
	v = eval(index, args, opt_a, opt_b, opt_c, depth);
	nest--;
	if (unwind) {
		v = vnum(0);
		if (nest == 0)
			unwind = 0;
	} else if (keep && impure == was) {
		known[index] = 1;
		kept[index] = v;
		height[index] = reach - at;
	}
	if (outer > reach)
		reach = outer;
	return v;
}
