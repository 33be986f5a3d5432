/* Reports the loading and unloading of the library it is built into,
   under the library's name (LIBNAME), so that a test sees each reload. */
#include <stdio.h>

__attribute__((constructor)) static void load(void)
{
	printf("%s: load\n", LIBNAME);
}

__attribute__((destructor)) static void unload(void)
{
	printf("%s: unload\n", LIBNAME);
}
