// The figure of what orv prints: every point among the printed objects
// and the objects they use, as a dot labelled with its name; every
// Segment(P,Q) called, as the segment from P to Q; every Curve(A,B,C,T)
// called, as the whole arc that rounds the corner B, sampled.  Drawn in
// the figure's own coordinates with y negated, so that y goes up and a
// point {x,y} is the dot at (x,-y); the view fits the figure with a
// margin.
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orv/svg.h"
#include "orv/text.h"

namespace {

struct pt {
	double x, y;
};

struct dot {
	std::string name;
	pt p;
};

std::vector<dot> dots;			// in the order first seen
std::vector<std::pair<pt, pt>> segs;
std::vector<std::vector<pt>> arcs;
std::vector<std::vector<pt>> corners;	// A, B, C of each arc, to draw it once

// Enough samples that the arc looks smooth at any size it is drawn.
constexpr int nsample = 64;

// A point: a list whose first two items are finite numbers.
bool point(value v, pt &p)
{
	value x = vitem(v, 0), y = vitem(v, 1);

	if (v.type != T_LIST || x.type != T_NUM || y.type != T_NUM || !isfinite(x.num) || !isfinite(y.num))
		return false;
	p = {x.num, y.num};
	return true;
}

bool same(pt a, pt b)
{
	return a.x == b.x && a.y == b.y;
}

void named(const char *name, value v)
{
	pt p;

	if (!point(v, p))
		return;
	for (auto &d : dots)
		if (d.name == name)
			return;
	dots.push_back({name, p});
}

void used(int obj, value v)
{
	named(page[obj].name, v);
}

// The arc of Curve(A,B,C,T) from T = 0 to 0.9, asked of the function
// itself while it is surely loaded.
void arc(cfunc fn, const std::vector<pt> &abc, value arg)
{
	for (auto &c : corners)
		if (same(c[0], abc[0]) && same(c[1], abc[1]) && same(c[2], abc[2]))
			return;
	corners.push_back(abc);

	std::vector<pt> line;
	value a[4] = {vitem(arg, 0), vitem(arg, 1), vitem(arg, 2), vnum(0)};
	for (int i = 0; i <= nsample; i++) {
		pt p;
		a[3] = vnum(0.9 * i / nsample);
		if (point(fn(vlist(a, 4)), p))
			line.push_back(p);
	}
	arcs.push_back(line);
}

void called(const char *name, cfunc fn, value arg, value res)
{
	pt p[3];

	if (res.type == T_ERR || !name)
		return;
	if (strcmp(name, "Segment") == 0 && vlen(arg) == 2 && point(vitem(arg, 0), p[0]) &&
	    point(vitem(arg, 1), p[1]))
		segs.push_back({p[0], p[1]});
	else if (strcmp(name, "Curve") == 0 && vlen(arg) == 4 && point(vitem(arg, 0), p[0]) &&
		 point(vitem(arg, 1), p[1]) && point(vitem(arg, 2), p[2]))
		arc(fn, {p[0], p[1], p[2]}, arg);
}

// A coordinate as orv writes numbers: the shortest that reads back.
std::string num(double d)
{
	std::string s;

	writevalue(s, vnum(d == 0 ? 0 : d));	// no "-0"
	return s;
}

// The length of the UTF-8 sequence at s, or 0 if it is none; a name
// may hold any byte, XML only characters.
size_t utf8(const unsigned char *s)
{
	size_t n = *s < 0x80 ? 1 : *s >= 0xc2 && *s < 0xe0 ? 2 : *s >= 0xe0 && *s < 0xf0 ? 3
		 : *s >= 0xf0 && *s < 0xf5 ? 4 : 0;

	for (size_t i = 1; i < n; i++)
		if ((s[i] & 0xc0) != 0x80)
			return 0;
	return n;
}

// The text of a label as XML: markup escaped, and what is no character
// of XML (a control byte, a byte that is no UTF-8) written as "?".
std::string escape(const std::string &s)
{
	auto *p = (const unsigned char *)s.c_str();
	std::string r;

	while (*p) {
		size_t n = utf8(p);
		if (n == 0 || *p < 0x20 || *p == 0x7f) {
			r += '?';
			p++;
		} else if (*p == '<' || *p == '>' || *p == '&') {
			r += *p == '<' ? "&lt;" : *p == '>' ? "&gt;" : "&amp;";
			p++;
		} else {
			r.append((const char *)p, n);
			p += n;
		}
	}
	return r;
}

} // namespace

void figstart()
{
	usehook = used;
	callhook = called;
}

void figobject(const char *name, value v)
{
	named(name, v);
}

std::string figwrite(const std::string &path)
{
	std::vector<pt> all;
	for (auto &d : dots)
		all.push_back(d.p);
	for (auto &[a, b] : segs)
		all.insert(all.end(), {a, b});
	for (auto &l : arcs)
		all.insert(all.end(), l.begin(), l.end());

	// The view: the figure's box and a margin of a tenth of its larger
	// side on every side, a unit square around a lone point.
	double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
	for (size_t i = 0; i < all.size(); i++) {
		pt p = all[i];
		x0 = i ? std::min(x0, p.x) : p.x;
		x1 = i ? std::max(x1, p.x) : p.x;
		y0 = i ? std::min(y0, p.y) : p.y;
		y1 = i ? std::max(y1, p.y) : p.y;
	}
	double size = std::max(x1 - x0, y1 - y0);
	if (!(size > 0))
		size = 1;
	double m = size / 10, w = x1 - x0 + 2 * m, h = y1 - y0 + 2 * m;
	double px = 480 / std::max(w, h);	// pixels a unit, the larger side 480
	double r = size / 80, stroke = size / 300, font = size / 25;

	std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
			"<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"";
	s += " width=\"" + num(round(w * px)) + "\" height=\"" + num(round(h * px)) + "\"";
	s += " viewBox=\"" + num(x0 - m) + " " + num(-y1 - m) + " " + num(w) + " " + num(h) + "\">\n";
	s += "<title>orv</title>\n";
	s += "<rect x=\"" + num(x0 - m) + "\" y=\"" + num(-y1 - m) + "\" width=\"" + num(w) + "\" height=\"" +
	     num(h) + "\" fill=\"white\"/>\n";
	s += "<g fill=\"none\" stroke=\"black\" stroke-width=\"" + num(stroke) + "\" stroke-linecap=\"round\">\n";
	for (auto &[a, b] : segs)
		s += "<line x1=\"" + num(a.x) + "\" y1=\"" + num(-a.y) + "\" x2=\"" + num(b.x) + "\" y2=\"" +
		     num(-b.y) + "\"/>\n";
	for (auto &l : arcs) {
		s += "<polyline stroke=\"blue\" points=\"";
		for (size_t i = 0; i < l.size(); i++) {
			// Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + string.
			if (i)
				s += ' ';
			s += num(l[i].x) + "," + num(-l[i].y);
		}
		s += "\"/>\n";
	}
	s += "</g>\n<g font-family=\"sans-serif\" font-size=\"" + num(font) + "\">\n";
	for (auto &d : dots) {
		s += "<circle cx=\"" + num(d.p.x) + "\" cy=\"" + num(-d.p.y) + "\" r=\"" + num(r) + "\" fill=\"red\"/>\n";
		s += "<text x=\"" + num(d.p.x + 1.5 * r) + "\" y=\"" + num(-d.p.y - 1.5 * r) + "\">" + escape(d.name) +
		     "</text>\n";
	}
	s += "</g>\n</svg>\n";

	FILE *f = fopen(path.c_str(), "w");
	if (!f)
		return path + ": " + strerror(errno);
	bool ok = fwrite(s.data(), 1, s.size(), f) == s.size();
	ok &= fclose(f) == 0;
	return ok ? "" : path + ": " + strerror(errno);
}
