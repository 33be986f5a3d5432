/* Uses the interpreter from C: the header must compile as C, the
   layout must hold there too, and the names must link as declared. */
#include <assert.h>

#include "interp/interp.h"

static_assert(sizeof(((value *)0)->type) == 1, "type is one byte");
static_assert(_Alignof(value) == 8, "value is 8-aligned");
static_assert(sizeof(pagerec) == 4 * sizeof(void *), "name, def, two words");

value abi_eval(const char *name, const char *def)
{
	return parse(orvo_set(name, def, 0), NULL, 0, 1, 1, 0);
}
