/* A library that prints nothing: its f answers its argument, so a
   measurement sees the lookup and the call alone.  Built both as the
   general library "orvlib.so" and as the resident "orvrlib.so". */
#include "interp/cfunc.h"

value f(value v)
{
	return v;
}
