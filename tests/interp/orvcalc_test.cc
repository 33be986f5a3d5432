// Runs orvcalc as a user would, with the function libraries made
// reachable through LD_LIBRARY_PATH, and compares all of its output.
#include <string>

#include "tests/interp/help.h"
#include "tests/interp/leaks.h"
#include "tests/support/files.h"
#include "tests/support/proc.h"

namespace {

// The trace of "line1" = "Segment(A,B)", with x1 after the first
// token's lines, x2 where the call is made and x3 at the end.
std::string line1(const std::string &x1, const std::string &x2, const std::string &x3)
{
	return tr(0, "Segment", '(') + x1 + tr(0, "A", ',') +
	       tr(1, "", '{') + tr(1, "3", ',') + tr(1, "9", '}') + tr(1, "", 0) +
	       tr(0, "B", ')') +
	       tr(1, "", '{') + tr(1, "4", ',') + tr(1, "10", ',') + tr(1, "@string 1", '}') + tr(1, "", 0) +
	       x2 + tr(0, "", 0) + x3;
}

// The same trace as it reaches a pipe when the call writes x straight
// to the file descriptor: only each token's first line is flushed, so
// x overtakes the second line of the token before the call.
std::string flushed(const std::string &x)
{
	std::string s = line1("", "", "");
	std::string last = tr(1, "", 0);	// the end of B, right before the call
	return s.insert(s.rfind(last) + last.size() / 2, x);
}

TEST(Orvcalc, Run)
{
	tmpdir none, junk;
	writefile(junk / "orvlib.so", "not a library\n");
	// orvcalc leaks its values by design; tell LeakSanitizer which.
	tmpdir sup;
	writefile(sup / "leaks", orv_leaks);

	const std::string lib = ORVLIBS;
	const std::string undefined = line1("function Segment undefined\n", "", "");
	struct { std::string dir, out; } t[] = {
		{none.path, undefined},
		{junk.path, undefined},			// cannot be opened
		{lib + "/lower", undefined},		// exports segment only
		{lib + "/unbound", undefined},		// cannot bind everything at load
		{lib + "/gen", line1("orvlib: load\n", "Segment {{3,9},{4,10,@string 1}}\n", "orvlib: unload\n")},
		{lib + "/raw", flushed("raw Segment\n")},
	};
	for (auto &r : t) {
		child c = runchild({built(ORVCALC), {"LD_LIBRARY_PATH=" + r.dir, "LSAN_OPTIONS=suppressions=" + (sup / "leaks")}});
		EXPECT_EQ(c.out, r.out) << r.dir;
		EXPECT_EQ(c.status, 0) << r.dir;
	}
}

} // namespace
