/* An "orvlib.so" that needs a symbol nobody defines: it loads only
   when binding is lazy, and then fails at the call. */
#include "tests/standins/orvlib/show.h"

int orvfix_absent(void);

value Segment(value v)
{
	record("Segment", v);
	return number(orvfix_absent());
}
