/* Fuzz target of the evaluator: the objects A, B, C and D get their
   definitions from the input, one after the other, separated by NUL
   bytes (missing ones are empty), and A is evaluated as orvcalc
   evaluates line1, then again with orv's language (parameters, escaped
   strings, errors of functions, messages through a hook).  The value
   must be well formed (known types, lists over terminated item arrays,
   strings with a text), and a second evaluation must give the same
   value: nothing that one evaluation leaves behind may change the
   next.

   Calls reach the fixture library "orvlib.so" (Segment, twice, who)
   when its folder is on LD_LIBRARY_PATH, as tools/fuzz arranges; the
   loader reads that variable at start, so it cannot be set from here. */
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/input.h"
#include "interp/interp.h"
#include "tests/support/value.h"

namespace {

const char *const names[] = {"A", "B", "C", "D"};
std::string defs[4];    /* the table keeps pointers to these */

/* Each reference evaluates its object afresh, so a few objects that
   refer to each other many times make one evaluation exponential in
   their number: libFuzzer would take such inputs for hangs, and their
   values, never released, would fill the memory.  After this many
   lookups in one input, names read as undefined, as if the table did
   not hold them: a state the evaluator meets in any case. */
constexpr int budget = 20;
int fuel;

/* The value of A as text, a huge one cut short; a malformed one ends
   the run. */
std::string eval()
{
	bool bad;
	fuel = budget;
	std::string s = render(parse(0, nullptr, 0, 1, 1, 0), &bad, 100000);
	if (bad)
		abort();
	return s;
}

void quiet(int obj, const char *msg)
{
	if (obj < -1 || obj >= len_page || !msg)
		abort();
}

/* orvcalc's rules, or orv's. */
void language(int orv)
{
	params = quoted = errors = orv;
	msghook = orv ? quiet : nullptr;
}

}

/* orvo_lookup as the evaluator sees it (the linker's --wrap). */
extern "C" int __real_orvo_lookup(const char *name);
extern "C" int __wrap_orvo_lookup(const char *name)
{
	if (fuel == 0)
		return len_page;
	fuel--;
	return __real_orvo_lookup(name);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	std::string in((const char *)data, size);
	size_t at = 0;

	for (int i = 0; i < 4; i++) {
		size_t end = in.find('\0', at);
		if (end == std::string::npos)
			end = in.size();
		defs[i] = at < in.size() ? in.substr(at, end - at) : "";
		at = end + 1;
		if (orvo_set(names[i], defs[i].c_str(), 0) != i)
			abort();
	}
	for (int orv = 0; orv < 2; orv++) {
		language(orv);
		std::string v = eval();
		if (eval() != v)
			abort();
	}
	language(0);
	return 0;
}
