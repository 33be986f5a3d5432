// A library written in C++11 with the kit header and built with
// -fvisibility=hidden: only what ORV_EXPORT marks can be called.
#include "interp/cfunc.h"

// Hidden: a name of the library, yet no function of the language.
extern "C" value half(value v)
{
	return vnum(v.type == T_NUM ? v.num / 2 : 0);
}

// Quarter(X): a quarter of the number X, through the hidden helper.
ORV_EXPORT value Quarter(value v)
{
	return half(half(v));
}
