// Values are never released by design: item arrays, string texts and
// the evaluator's level arrays live until the process ends.  These are
// the functions that allocate them, and nothing else.
#ifndef ORV_TESTS_INTERP_LEAKS_H
#define ORV_TESTS_INTERP_LEAKS_H

inline const char orv_leaks[] =
	"leak:newitems\n"	// item arrays of values
	"leak:additem\n"	// item arrays as they grow
	"leak:newtext\n"	// texts of string values
	"leak:growlevels\n";	// the evaluator's level stack

#endif
