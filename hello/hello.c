/* The greeting.  The same source is built by GCC and by clang, and both
   builds print the same line. */
#include <stdio.h>

int main(void)
{
	fputs("hello clang\n", stdout);
	/* a line that could not be written is no success */
	return fflush(stdout) == 0 && !ferror(stdout) ? 0 : 1;
}
