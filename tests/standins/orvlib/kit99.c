/* The C99 part of the kit library: a string from a null pointer. */
#include "interp/cfunc.h"

/* Nothing(): what vstr makes of a null pointer, the empty value. */
ORV_EXPORT value Nothing(value v)
{
	(void)v;
	return vstr(NULL);
}

/* Text(): a string made as usual, beside it. */
ORV_EXPORT value Text(value v)
{
	(void)v;
	return vstr("made in C99");
}
