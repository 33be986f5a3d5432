// Values written in the language.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "orv/text.h"

namespace {

// The shortest digits that read back as the same double, laid out as
// JavaScript writes numbers: without an exponent from 1e-6 up to 1e21,
// with one outside.  Infinities and NaNs carry their sign: "inf" alone
// would read as a name.  A NaN's payload is not written; it reads back
// as the default NaN.
void number(std::string &o, double d)
{
	if (std::isinf(d) || std::isnan(d)) {
		o += std::signbit(d) ? '-' : '+';
		o += std::isinf(d) ? "inf" : "nan";
		return;
	}
	if (std::signbit(d))
		o += '-';
	char b[40];
	auto r = std::to_chars(b, b + sizeof b, std::fabs(d), std::chars_format::scientific);
	std::string_view sci(b, size_t(r.ptr - b));	// "1.2345e+07"
	size_t e = sci.find('e');
	std::string digits(sci.substr(0, e));
	if (digits.size() > 1)
		digits.erase(1, 1);	// the point
	int k = int(digits.size());
	int n = std::stoi(std::string(sci.substr(e + 1))) + 1;	// the point after n digits

	if (k <= n && n <= 21) {
		o += digits;
		o.append(size_t(n - k), '0');
	} else if (0 < n && n <= 21) {
		o += digits.substr(0, size_t(n));
		o += '.';
		o += digits.substr(size_t(n));
	} else if (-6 < n && n <= 0) {
		o += "0.";
		o.append(size_t(-n), '0');
		o += digits;
	} else {
		o += digits[0];
		if (k > 1) {
			o += '.';
			o += digits.substr(1);
		}
		o += n - 1 < 0 ? "e-" : "e+";
		o += std::to_string(std::abs(n - 1));
	}
}

// Whether "@" followed by s reads back as s.  The scanner ends a token
// at a delimiter, and its cleaning turns tabs, line feeds, carriage
// returns and every run of whitespace into one space and drops a
// trailing one; every other byte passes as it is.  A text that would
// read as an escaped token is no plain one either.
bool plain(std::string_view s)
{
	if (!s.empty() && s.back() == ' ')
		return false;
	for (size_t i = 0; i < s.size(); i++) {
		if (std::string_view("({,})\t\n\r").find(s[i]) != s.npos)
			return false;
		if (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ')
			return false;
	}
	// Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + string.
	std::string at = "@";
	at += s;
	return !quoteend(at.c_str());
}

// Between double quotes, every byte outside printable ASCII as \t, \n,
// \r or \xHH (two hex digits), and " and \ after a backslash.
void escaped(std::string &o, std::string_view s)
{
	o += "@\"";
	for (unsigned char c : s) {
		switch (c) {
		case '"':
			o += "\\\"";
			break;
		case '\\':
			o += "\\\\";
			break;
		case '\t':
			o += "\\t";
			break;
		case '\n':
			o += "\\n";
			break;
		case '\r':
			o += "\\r";
			break;
		default:
			if (c >= 0x20 && c < 0x7f) {
				o += char(c);
			} else {
				char b[8];
				snprintf(b, sizeof b, "\\x%02X", c);
				o += b;
			}
		}
	}
	o += '"';
}

// A value that is no list.  A type code that is none of the four can
// only come from a faulty library; it is shown, not guessed at.
void atom(std::string &o, const value &v)
{
	switch (v.type) {
	case T_END:
		o += "{}";
		break;
	case T_NUM:
		number(o, v.num);
		break;
	case T_STR: {
		std::string_view s = v.ref ? static_cast<const char *>(v.ref) : "";
		if (plain(s)) {
			o += '@';
			o += s;
		} else {
			escaped(o, s);
		}
		break;
	}
	default:
		o += "<type " + std::to_string(v.type) + ">";
	}
}

} // namespace

// A library may nest lists to any depth, so the walk keeps a stack of
// its own: for each list being written, its next item.
void writevalue(std::string &o, value top)
{
	struct open {
		const value *next;
		bool first;
	};
	std::vector<open> lists;
	const value *v = &top;

	while (v) {
		if (v->type == T_LIST) {
			o += '{';
			lists.push_back({vitems(*v), true});
		} else {
			atom(o, *v);
		}
		// Close the lists that are done, up to one with an item left.
		for (v = nullptr; !v && !lists.empty();) {
			open &l = lists.back();
			if (l.next->type == T_END) {
				o += '}';
				lists.pop_back();
				continue;
			}
			if (!l.first)
				o += ',';
			l.first = false;
			v = l.next++;
		}
	}
}
