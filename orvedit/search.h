/* Finding a pattern in the text: the next or previous match from a place,
   wrapping round the text's ends, and every match in a stretch of it.

   A pattern is matched as bytes.  Without an ASCII capital in it, it
   ignores the case of ASCII letters ("main" finds "Main" and "MAIN");
   with one, case counts.  Other characters, UTF-8 ones among them, match
   only as written. */
#ifndef ORV_ORVEDIT_SEARCH_H
#define ORV_ORVEDIT_SEARCH_H

#include <string>
#include <string_view>
#include <vector>

struct pattern {
	std::string p;	/* the bytes sought, in lower case when fold */
	bool fold;	/* ASCII letters match either case */
	int key;	/* index in p of the byte scanned for: its rarest */
};

pattern sr_pattern(std::string_view s);

/* The first match starting at or after from, else (wrapped set) the
   first in the text.  -1 if there is none, or the pattern is empty. */
int sr_next(std::string_view t, const pattern &p, int from, bool &wrapped);
/* The last match starting before from, else (wrapped set) the last in
   the text.  -1 if there is none. */
int sr_prev(std::string_view t, const pattern &p, int from, bool &wrapped);

/* The first match starting in [lo, hi], or with back the last; -1 if
   none.  For a search spread over several frames, a stretch each. */
int sr_find(std::string_view t, const pattern &p, int lo, int hi, bool back);

/* The starts of every match that has a byte in [lo, hi), in order;
   matches may overlap ("aa" in "aaa" at 0 and 1). */
std::vector<int> sr_all(std::string_view t, const pattern &p, int lo, int hi);

#endif
