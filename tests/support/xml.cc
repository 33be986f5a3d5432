// A strict reader of one XML document, for the tests.
#include "tests/support/xml.h"

#include <ctype.h>

#include <stdexcept>

namespace {

struct reader {
	const std::string &s;
	size_t i = 0;

	[[noreturn]] void bad(const std::string &what)
	{
		throw std::runtime_error("not XML at byte " + std::to_string(i) + ": " + what);
	}
	bool at(const char *t) const { return s.compare(i, std::char_traits<char>::length(t), t) == 0; }
	void skip(const char *t)
	{
		if (!at(t))
			bad(std::string("expected ") + t);
		i += std::char_traits<char>::length(t);
	}
	void space()
	{
		while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r'))
			i++;
	}
	// Up to and past the text end.
	void past(const char *end)
	{
		size_t e = s.find(end, i);
		if (e == s.npos)
			bad(std::string("no ") + end);
		i = e + std::char_traits<char>::length(end);
	}
	std::string name()
	{
		size_t b = i;
		auto first = [](char c) { return isalpha((unsigned char)c) || c == '_' || c == ':'; };
		if (i >= s.size() || !first(s[i]))
			bad("expected a name");
		while (i < s.size() && (first(s[i]) || isdigit((unsigned char)s[i]) || s[i] == '-' || s[i] == '.'))
			i++;
		return s.substr(b, i - b);
	}
	void chr(unsigned char c)
	{
		if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
			bad("a control byte");
	}
	// Character data up to stop, entities replaced.
	std::string data(char stop)
	{
		std::string r;
		while (i < s.size() && s[i] != stop) {
			char c = s[i];
			if (c == '<')
				bad("a bare '<'");
			if (c != '&') {
				chr((unsigned char)c);
				r += c;
				i++;
				continue;
			}
			static const std::pair<const char *, char> ents[] = {
				{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
			bool found = false;
			for (auto &[e, ch] : ents)
				if (at(e)) {
					r += ch;
					i += std::char_traits<char>::length(e);
					found = true;
					break;
				}
			if (!found)
				bad("an unknown entity or a bare '&'");
		}
		return r;
	}
	// Comments and processing instructions between elements.
	bool misc()
	{
		if (at("<!--"))
			past("-->");
		else if (at("<?"))
			past("?>");
		else
			return false;
		return true;
	}
	xmlnode element()
	{
		xmlnode n;
		skip("<");
		n.name = name();
		for (;;) {
			size_t b = i;
			space();
			if (at("/>")) {
				i += 2;
				return n;
			}
			if (at(">")) {
				i++;
				break;
			}
			if (b == i)
				bad("expected a space before an attribute");
			std::string a = name();
			space();
			skip("=");
			space();
			if (i >= s.size() || (s[i] != '"' && s[i] != '\''))
				bad("an unquoted attribute");
			char q = s[i++];
			std::string v = data(q);
			skip(q == '"' ? "\"" : "'");
			if (!n.attrs.emplace(a, v).second)
				bad("attribute " + a + " twice");
		}
		for (;;) {
			n.text += data('<');
			if (i >= s.size())
				bad("<" + n.name + "> not closed");
			if (at("</")) {
				i += 2;
				if (name() != n.name)
					bad("<" + n.name + "> closed by another name");
				space();
				skip(">");
				return n;
			}
			if (!misc())
				n.kids.push_back(element());
		}
	}
};

void find(const xmlnode &n, const std::string &name, std::vector<const xmlnode *> &out)
{
	if (n.name == name)
		out.push_back(&n);
	for (auto &k : n.kids)
		find(k, name, out);
}

} // namespace

xmlnode readxml(const std::string &s)
{
	reader r{s};
	if (r.at("<?xml"))
		r.past("?>");
	for (r.space(); r.misc(); r.space())
		;
	if (r.at("<!DOCTYPE"))
		r.past(">");
	for (r.space(); r.misc(); r.space())
		;
	xmlnode root = r.element();
	for (r.space(); r.misc(); r.space())
		;
	if (r.i != s.size())
		r.bad("more after the root element");
	return root;
}

std::vector<const xmlnode *> xmlfind(const xmlnode &n, const std::string &name)
{
	std::vector<const xmlnode *> out;
	find(n, name, out);
	return out;
}
