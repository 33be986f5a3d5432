/* dtoi as a C compiler builds it, out of line: the header must serve C
   callers too, and a call here converts at run time on the target. */
#include "geom/dtoi.h"

int32_t dtoi_c(double v);

int32_t dtoi_c(double v)
{
	return dtoi(v);
}
