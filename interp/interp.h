/* The interpreter core of orvcalc and orv: the object table, the
   lookup of functions in the libraries "orvrlib.so" and "orvlib.so",
   and the evaluator.  value, its type codes and cfunc come from
   cfunc.h, the header of function libraries.  It compiles as C and as
   C++. */
#ifndef ORV_INTERP_INTERP_H
#define ORV_INTERP_INTERP_H

#include <signal.h>
#include <stdio.h>

#include "interp/cfunc.h"

#ifdef __cplusplus
extern "C" {
#endif

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

/* The files that reloadresidentlib and c_lookup open: "orvrlib.so"
   and "orvlib.so" unless set otherwise. */
extern const char *reslib;
extern const char *genlib;

/* What parse prints.  By default every token's two trace lines and the
   messages among them, all on standard output.  trace = 0 leaves out
   the trace; messages go to msgfile (null: standard output), each
   after msgtag, and nmsg counts them. */
extern int trace;
extern FILE *msgfile;
extern const char *msgtag;
extern int nmsg;

/* orv's language, which orvcalc leaves off.  params binds the names of
   a definition's parameter list to the arguments of its call; quoted
   reads @"..." as one string token; errors turns a function's T_ERR
   result into a message naming it and the number 0; msghook, when set, takes every
   message instead of msgfile, with the object whose definition was
   being evaluated, and the depth bound then names the cycle or chain
   that reached it. */
extern int params;
extern int quoted;
extern int errors;
extern void (*msghook)(int obj, const char *msg);

/* memo keeps the value of an object evaluated by name, without the
   trace, when its evaluation printed no message and called no library
   function, and hands it out at the next reference instead of
   evaluating again: the value is the same, the work is not.  forget
   drops what is kept, for a table whose definitions change. */
extern int memo;
void forget(void);

/* Set from a signal handler to abandon the evaluation under way: every
   active parse gives up at its next token, as at the depth bound but
   without a message, and gives the number 0.  The program clears it. */
extern volatile sig_atomic_t halt;

/* What a program may watch of an evaluation: usehook sees every object
   referred to by name with its value; callhook every library function
   called, by the name it was called by, with its argument and result. */
extern void (*usehook)(int obj, value v);
extern void (*callhook)(const char *name, cfunc fn, value arg, value res);

int orvo_lookup(const char *name);

/* on: turns on an index beside the table, built from the entries
   already there; orvo_lookup then costs the same whatever the table
   holds, and answers as the scan does (the first entry of the name) as
   long as the table is written through orvo_set alone.  0: back to the
   scan, for a table to be written directly. */
void orvo_index(int on);
int orvo_set(const char *name, const char *def, char flag);
int args_lookup(const char *name);
void reloadresidentlib(void);
void *c_lookup(const char *name);

/* A program with libraries of its own sets lookuphook: c_lookup then
   asks it alone and never opens the two files.  c_open opens a library
   as c_lookup does, and c_own finds a function that lib itself
   defines. */
extern void *(*lookuphook)(const char *name);
void *c_open(const char *path);
void *c_own(void *lib, const char *name);

/* Keep the library that holds fn loaded until c_release; see lib.cc. */
void *c_hold(void *fn);
void c_release(void *hold);

/* The escaped string token, @"..." with \" \\ \t \n \r and \xHH.
   quoteend: where the token that begins at p ends (its delimiter or the
   end) if it is one, else null.  unescape: the byte of the character
   or escape at *p, stepping past it; -1 for a faulty escape.  unquote:
   the text of such a token, in malloc storage. */
const char *quoteend(const char *p);
int unescape(const char **p);
char *unquote(const char *t);

value parse(int index, value *args, char opt_a, char opt_b, char opt_c, int depth);
int lenof(value *items);
void freelist(value *items);

#ifdef __cplusplus
}
#endif

#endif
