/* An "orvlib.so" whose function is spelt in lower case only. */
#include "tests/standins/orvlib/show.h"

value segment(value v)
{
	record("segment", v);
	return number(items(v));
}
