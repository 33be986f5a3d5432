/* orvcalc: defines the built-in objects and evaluates "line1". */
#include <stddef.h>

#include "interp/interp.h"

int main(void)
{
	orvo_set("A", "{3,9}", 0);
	orvo_set("B", "{4,10,@string 1}", 0);
	orvo_set("line1", "Segment(A,B)", 0);
	parse(2, NULL, 0, 1, 1, 0);
	return 0;
}
