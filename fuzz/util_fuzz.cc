/* Fuzz target of the scanning and quoting utilities: strread_until,
   squeeze, trim, singlequote and strp_, each checked against a simple
   model of what it should give.

   Input: a flag byte, then texts separated by NUL bytes.  The first
   text is the delimiter set of strread_until and the string that strp_
   extends, the second is scanned, cleaned and quoted, and all after the
   first make strp_'s list.  Flag bit 0 is strp_'s replace flag, bit 1
   starts strp_ from null; with the replace flag, bit 2 also puts a
   suffix of the string being replaced into the list, which the
   replacement may read as the old string goes. */
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sanitizer/allocator_interface.h>

#include "fuzz/input.h"
#include "util/util.h"

namespace {

bool ws(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/* A heap copy, as the routines that take ownership expect. */
char *heap(const std::string &s)
{
	return strdup(s.c_str());
}

/* The block holds exactly the text and its NUL. */
void exact(const char *s)
{
	if (__sanitizer_get_allocated_size(s) != strlen(s) + 1)
		abort();
}

/* Scanning the whole text delimiter by delimiter, as the evaluator does,
   gives back the text; each piece holds no delimiter, and each stop is
   on a delimiter or at the end. */
void scan(const std::string &delims, const std::string &text)
{
	const char *cur = text.c_str();
	std::string again;

	for (;;) {
		const char *from = cur;
		int d = strread_until(&cur, delims.c_str());
		std::string piece = srbuf;
		if (piece != std::string(from, cur - from) || d != (unsigned char)*cur)
			abort();
		if (piece.find_first_of(delims) != std::string::npos)
			abort();
		again += piece;
		if (d == 0)
			break;
		if (!strchr(delims.c_str(), d))
			abort();
		again += (char)d;
		cur++;
	}
	if (again != text)
		abort();
}

/* Words joined by one space, and one space more when the text ends in
   whitespace. */
std::string squeezed(const std::string &s)
{
	std::string out, word;

	for (char c : s + ' ') {
		if (!ws(c)) {
			word += c;
			continue;
		}
		if (!word.empty())
			out += (out.empty() ? "" : " ") + word;
		word.clear();
	}
	if (!s.empty() && ws(s.back()))
		out += ' ';
	return out;
}

/* One space off each end. */
std::string trimmed(std::string s)
{
	if (!s.empty() && s[0] == ' ')
		s.erase(0, 1);
	if (!s.empty() && s.back() == ' ')
		s.pop_back();
	return s;
}

/* Between single quotes, a quote escaped with a backslash, and a slash
   after a closing slash or backslash. */
std::string quoted(const std::string &s)
{
	std::string out = "'";

	for (char c : s)
		out += c == '\'' ? std::string("\\'") : std::string(1, c);
	if (!s.empty() && (s.back() == '/' || s.back() == '\\'))
		out += '/';
	return out + "'";
}

void strings(const std::string &t)
{
	char *s = squeeze(heap(t));
	if (s != squeezed(t))
		abort();
	free(s);

	s = heap(t);
	char *r = trim(s);
	if ((r != s && r != s + 1) || r != trimmed(t))
		abort();
	free(s);

	r = singlequote(t.c_str());
	if (r != out1 || r != quoted(t))
		abort();
	exact(r);
}

void join(uint8_t flags, const std::vector<std::string> &texts)
{
	bool replace = flags & 1, none = flags & 2, inside = flags & 4;
	char *s = none ? nullptr : heap(texts[0]);
	std::vector<char *> l;
	std::string want = replace || none ? "" : texts[0];

	for (size_t i = 1; i < texts.size(); i++) {
		l.push_back((char *)texts[i].c_str());
		want += texts[i];
	}
	if (replace && inside && s) {
		size_t k = texts[0].size() / 2;
		l.push_back(s + k);
		want += texts[0].substr(k);
	}
	l.push_back(nullptr);
	char *r = strp_(s, l.data(), replace);
	if (r != want)
		abort();
	exact(r);
	free(r);
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	input in = {data, size};
	uint8_t flags = in.u8();
	std::string rest = in.rest();
	std::vector<std::string> texts;
	size_t at = 0;

	do {
		size_t end = rest.find('\0', at);
		if (end == std::string::npos)
			end = rest.size();
		texts.push_back(rest.substr(at, end - at));
		at = end + 1;
	} while (at <= rest.size() && texts.size() < 8);
	if (texts.size() < 2)
		texts.push_back("");

	scan(texts[0], texts[1]);
	strings(texts[1]);
	join(flags, texts);
	return 0;
}
