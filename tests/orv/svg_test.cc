// orv --svg: the figure of the printed objects, read back as XML.
#include <stdlib.h>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/orv/run.h"
#include "tests/support/xml.h"

namespace {

double num(const xmlnode *n, const char *attr)
{
	auto a = n->attrs.find(attr);
	EXPECT_NE(a, n->attrs.end()) << n->name << " has no " << attr;
	return a == n->attrs.end() ? NAN : strtod(a->second.c_str(), nullptr);
}

// The example's figure: its points as labelled dots at (x, -y), y going
// up; the three Segment calls as lines; the arc of the three Curve
// calls once, from Q to P, in steps short enough to look smooth; a view
// that holds it all.
TEST(OrvSvg, Example)
{
	tmpdir d;
	std::string f = d / "corner.svg";
	child c = orv({{"--svg", f, "-p", "line1", "-p", "legs", "-p", "arc", "-p", "toward",
			std::string(EXAMPLES) + "/corner.orv"}});
	ASSERT_EQ(c.status, 0) << c.err;
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.out.substr(0, 25), "line1 = 1.414213562373095");
	xmlnode svg = readxml(readfile(f));
	EXPECT_EQ(svg.name, "svg");
	EXPECT_EQ(svg.attrs["version"], "1.1");
	EXPECT_EQ(svg.attrs["xmlns"], "http://www.w3.org/2000/svg");

	struct {
		const char *name;
		double x, y;
	} pts[] = {{"A", 3, 9}, {"B", 4, 10}, {"O", 1, 1}, {"P", 2, 3}, {"Q", 4, 1},
		   {"toward", 1.8944271909999157, 2.7885723239383067}};
	auto dots = xmlfind(svg, "circle");
	auto labels = xmlfind(svg, "text");
	std::vector<std::string> names;
	for (auto *t : labels)
		names.push_back(t->text);
	for (auto &p : pts) {
		bool found = false;
		for (size_t i = 0; i < dots.size() && i < labels.size(); i++)
			if (labels[i]->text == p.name) {
				EXPECT_EQ(num(dots[i], "cx"), p.x) << p.name;
				EXPECT_EQ(num(dots[i], "cy"), -p.y) << p.name;
				found = true;
			}
		EXPECT_TRUE(found) << p.name << " among " << testing::PrintToString(names);
	}

	std::vector<std::vector<double>> lines;
	for (auto *l : xmlfind(svg, "line"))
		lines.push_back({num(l, "x1"), num(l, "y1"), num(l, "x2"), num(l, "y2")});
	std::vector<std::vector<double>> want = {{3, -9, 4, -10}, {1, -1, 2, -3}, {1, -1, 4, -1}};
	EXPECT_EQ(lines, want);

	auto arcs = xmlfind(svg, "polyline");
	ASSERT_EQ(arcs.size(), 1u);
	std::vector<std::pair<double, double>> arc;
	const char *s = arcs[0]->attrs.at("points").c_str();
	for (char *e; *s; s = e) {
		double x = strtod(s, &e);
		ASSERT_EQ(*e, ',');
		double y = strtod(e + 1, &e);
		arc.push_back({x, y});
	}
	ASSERT_GE(arc.size(), 32u);
	EXPECT_EQ(arc.front(), std::make_pair(3.9999999999999996, -1.0000000000000002));
	EXPECT_EQ(arc.back(), std::make_pair(1.9999999999999998, -2.9996846495004137));
	for (size_t i = 1; i < arc.size(); i++)
		EXPECT_LT(std::hypot(arc[i].first - arc[i - 1].first, arc[i].second - arc[i - 1].second), 0.1);

	double vb[4];
	ASSERT_EQ(sscanf(svg.attrs["viewBox"].c_str(), "%lf %lf %lf %lf", &vb[0], &vb[1], &vb[2], &vb[3]), 4);
	for (auto &p : pts) {
		EXPECT_GT(p.x, vb[0]);
		EXPECT_LT(p.x, vb[0] + vb[2]);
		EXPECT_GT(-p.y, vb[1]);
		EXPECT_LT(-p.y, vb[1] + vb[3]);
	}
}

// A name is any bytes but the delimiters: its label is XML all the same.
// A figure that cannot be written is a fault of its own, status 2, the
// results already printed.
TEST(OrvSvg, LabelsAndFaults)
{
	tmpdir d;
	std::string f = d / "n.svg";
	child c = orv({{"--svg", f, "-e", "a<&\"b = {1,2}", "-e", "c\x01\xff = {3,4}", "-p", "a<&\"b", "-p",
			"c\x01\xff"}});
	EXPECT_EQ(c.status, 0) << c.err;
	xmlnode svg = readxml(readfile(f));
	auto labels = xmlfind(svg, "text");
	ASSERT_EQ(labels.size(), 2u);
	EXPECT_EQ(labels[0]->text, "a<&\"b");
	EXPECT_EQ(labels[1]->text, "c??");

	std::string no = d / "nosuch/n.svg";
	c = orv({{"--svg", no, "-e", "x = {1,2}"}});
	EXPECT_EQ(c.out, "x = {1,2}\n");
	EXPECT_EQ(c.err, "orv: " + no + ": No such file or directory\n");
	EXPECT_EQ(c.status, 2);

	c = orv({{"-e", "x = 1", "--svg"}});
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err.rfind("orv: option --svg needs an argument\n", 0), 0u) << c.err;
	EXPECT_EQ(c.status, 2);
}

} // namespace
