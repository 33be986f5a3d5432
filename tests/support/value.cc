/* The text of a value. */
#include "tests/support/value.h"

#include <charconv>

static void put(value v, std::string &s, bool &bad, size_t limit);

static void putlist(const value *p, std::string &s, bool &bad, size_t limit)
{
	s += "{";
	for (const value *q = p; q->type != T_END; q++) {
		if (q != p)
			s += ",";
		put(*q, s, bad, limit);
	}
	s += "}";
}

static void put(value v, std::string &s, bool &bad, size_t limit)
{
	char b[32];

	if (s.size() > limit) {
		s += "...";
		return;
	}
	if ((v.type == T_STR || v.type == T_LIST) && !v.ref) {
		s += "?null";
		bad = true;
		return;
	}
	switch (v.type) {
	case T_END:
		s += "end";
		return;
	case T_NUM:
		s.append(b, std::to_chars(b, b + sizeof b, v.num).ptr);
		return;
	case T_STR:
		s += "@";
		s += (const char *)v.ref;
		return;
	case T_LIST:
		putlist((const value *)v.ref, s, bad, limit);
		return;
	}
	s += "?" + std::to_string(v.type);
	bad = true;
}

std::string render(value v, bool *bad, size_t limit)
{
	std::string s;
	bool b = false;

	put(v, s, b, limit);
	if (bad)
		*bad = b;
	return s;
}
