// The check of a definition before anything is evaluated: the scanner
// reads every text somehow, so what it would turn silently into
// something else is refused here, with the column of each fault.
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "interp/interp.h"
#include "orv/check.h"

namespace {

constexpr std::string_view ws = " \t\r\n";
constexpr std::string_view delims = "({,})";

struct checker {
	std::string_view s;
	size_t base;	// column of s[0], less one
	std::vector<fault> out;

	void bad(size_t at, std::string msg) { out.push_back({base + at + 1, std::move(msg)}); }
};

std::string quote(std::string_view t)
{
	// Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + string.
	std::string q = "'";
	q += t;
	q += '\'';
	return q;
}

// The token as the scanner cleans it: whitespace at the ends dropped,
// every inner run one space.
std::string clean(std::string_view t)
{
	std::string r;
	bool pend = false;
	for (char c : t) {
		if (ws.find(c) != ws.npos) {
			pend = !r.empty();
			continue;
		}
		if (pend)
			r += ' ';
		r += c;
		pend = false;
	}
	return r;
}

// A number token must be a number to its end: strtod reads the longest
// number it can and drops the rest.
bool wholenumber(const std::string &t)
{
	char *end;
	strtod(t.c_str(), &end);
	return end != t.c_str() && *end == '\0';
}

// The escapes of an escaped string token that begins at s[at].
void escapes(checker &k, size_t at)
{
	const char *b = k.s.data();
	const char *p = b + at;
	p += strspn(p, " \t\r\n") + 2;
	while (*p != '"') {
		const char *e = p;
		int c = unescape(&p);
		if (c < 0)
			k.bad(size_t(e - b), "unknown escape " + quote(std::string_view(e, e[1] ? 2 : 1)));
		else if (c == 0)
			k.bad(size_t(e - b), "a string cannot hold the byte 0");
	}
}

// The names of a leading parameter list; where the scan goes on.
size_t parlist(checker &k)
{
	size_t e = k.s.find(')');
	if (e == k.s.npos) {
		k.bad(0, "parameter list without its ')'");
		return k.s.size();
	}
	std::vector<std::string> seen;
	for (size_t p = 1;;) {
		size_t q = std::min(k.s.find(',', p), e);
		std::string n = clean(k.s.substr(p, q - p));
		size_t at = k.s.find_first_not_of(ws, p);
		if (at > q)
			at = p;
		bool none = n.empty() && p == 1 && q == e;	// "()"
		if (!none) {
			if (!isname(n))
				k.bad(at, n.empty() ? "empty parameter name" : quote(n) + " is not a parameter name");
			else if (std::find(seen.begin(), seen.end(), n) != seen.end())
				k.bad(at, "parameter " + quote(n) + " named twice");
			seen.push_back(n);
		}
		if (q == e)
			break;
		p = q + 1;
	}
	return e + 1;
}

} // namespace

bool isname(std::string_view n)
{
	return !n.empty() && std::string_view("@+-.0123456789").find(n[0]) == n.npos &&
	       n.find_first_of(delims) == n.npos;
}

std::vector<fault> check(const std::string &def, size_t col)
{
	checker k{def, col - 1, {}};
	struct open {
		char c;
		size_t at;
	};
	std::vector<open> opened;
	size_t i = 0;
	char closed = 0;	// the closing bracket just before, if any

	if (!def.empty() && def[0] == '(')
		i = parlist(k);
	while (i <= def.size()) {
		// An escaped string is one token, whatever it holds.
		const char *q = quoteend(def.data() + i);
		size_t e = q ? size_t(q - def.data()) : std::min(def.find_first_of(delims, i), def.size());
		char d = e < def.size() ? def[e] : 0;
		std::string t = clean(def.substr(i, e - i));
		size_t at = std::min(def.find_first_not_of(ws, i), e);

		if (closed && !t.empty())
			k.bad(at, "unexpected " + quote(t) + " after '" + closed + "'");
		else if (closed && (d == '(' || d == '{'))
			k.bad(e, std::string("unexpected '") + d + "' after '" + closed + "'");
		else if (d == '(' && t.empty())
			k.bad(e, "'(' without a function name");
		else if (d == '{' && !t.empty())
			k.bad(e, "unexpected '{' after " + quote(t));
		else if (d == ',' && t.empty() && !closed)
			k.bad(e, "empty item before ','");

		if (q)
			escapes(k, i);
		else if (d != '(' && !t.empty() && t[0] != '@' && strchr("+-.0123456789", t[0]) &&
			 !wholenumber(t))
			k.bad(at, quote(t) + " is not a number");

		closed = 0;
		if (d == '(' || d == '{') {
			opened.push_back({d, e});
		} else if (d == ')' || d == '}') {
			char want = d == ')' ? '(' : '{';
			if (opened.empty())
				k.bad(e, std::string("'") + d + "' with no bracket open");
			else if (opened.back().c != want)
				k.bad(e, std::string("'") + d + "' closes '" + opened.back().c + "' of column " +
						 std::to_string(col + opened.back().at));
			if (!opened.empty()) {
				opened.pop_back();
				closed = d;
			}
		}
		i = e + 1;
	}
	for (auto &o : opened)
		k.bad(o.at, std::string("'") + o.c + "' not closed");
	std::stable_sort(k.out.begin(), k.out.end(), [](auto &a, auto &b) { return a.col < b.col; });
	return k.out;
}
