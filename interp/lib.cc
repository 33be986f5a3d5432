/* Lookup of functions in the resident library "orvrlib.so" and the
   general library "orvlib.so".  The general library is closed and
   opened afresh at every lookup the resident one does not answer, so a
   rebuilt library is picked up without restarting. */
#include <dlfcn.h>
#include <link.h>
#include <stddef.h>

#include "interp/interp.h"

/* Bind everything at load, and let a library prefer its own symbols to
   the process's.  AddressSanitizer aborts on RTLD_DEEPBIND, so the
   sanitizer build drops that flag alone; its libraries then resolve
   names through the process first. */
#ifdef ORV_SANITIZE
#define LIBFLAGS RTLD_NOW
#else
#define LIBFLAGS (RTLD_NOW | RTLD_DEEPBIND)
#endif

#if defined(__GLIBC__) && !defined(ORV_SANITIZE)
static_assert(LIBFLAGS == 10, "glibc's RTLD_NOW | RTLD_DEEPBIND");
#endif

void *residentlib;
static void *handle;
void *(*lookuphook)(const char *name);

/* The two files, opened by bare name (the loader searches for them)
   unless a program names others. */
const char *genlib = "orvlib.so";
const char *reslib = "orvrlib.so";

void reloadresidentlib(void)
{
	if (residentlib)
		dlclose(residentlib);
	residentlib = dlopen(reslib, LIBFLAGS);
}

/* The function that lib itself defines under name, or null.  dlsym on
   a library's handle also answers from the libraries it depends on:
   libc's free or exit are no functions of the library, and calling one
   with a value would crash or end the run. */
void *c_own(void *lib, const char *name)
{
	struct link_map *lm, *at;
	Dl_info di;
	void *fn = dlsym(lib, name);

	if (!fn || dlinfo(lib, RTLD_DI_LINKMAP, &lm) != 0 ||
	    !dladdr1(fn, &di, (void **)&at, RTLD_DL_LINKMAP) || at != lm)
		return NULL;
	return fn;
}

void *c_open(const char *path)
{
	return dlopen(path, LIBFLAGS);
}

/* A library that cannot be opened is one without the name. */
void *c_lookup(const char *name)
{
	void *fn;

	if (lookuphook)
		return lookuphook(name);
	if (residentlib && (fn = c_own(residentlib, name)))
		return fn;
	if (handle)
		dlclose(handle);
	handle = dlopen(genlib, LIBFLAGS);
	if (handle && (fn = c_own(handle, name)))
		return fn;
	return NULL;
}

/* The evaluator calls a function only when the call's closing bracket
   is read, and the lookups in between close "orvlib.so".  Taking one
   more reference on the library that holds fn keeps it mapped across
   them; a later lookup that finds no such reference left loads the
   library afresh as usual. */
void *c_hold(void *fn)
{
	Dl_info di;

	if (!fn || !dladdr(fn, &di) || !di.dli_fname)
		return NULL;
	return dlopen(di.dli_fname, RTLD_NOW | RTLD_NOLOAD);
}

void c_release(void *hold)
{
	if (hold)
		dlclose(hold);
}
