#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/capture.h"
#include "util/util.h"

extern "C" char *abi_join(const char *a, const char *b);

namespace {

using words = std::vector<std::string>;

// The texts of a null-terminated list.
words texts(void **l)
{
	words w;
	for (; *l; l++)
		w.push_back(static_cast<const char *>(*l));
	return w;
}

char A[] = "a", B[] = "b", C[] = "c", D[] = "d";

TEST(List, LengthCopyAndFind)
{
	void *empty[] = {nullptr};
	void *l[] = {A, B, A, C, A, nullptr};
	EXPECT_EQ(listlen(empty), 0);
	EXPECT_EQ(listlen(l), 5);

	void *dst[7] = {D, D, D, D, D, D, D};
	EXPECT_EQ(listcopy(dst, l), dst + 5);
	EXPECT_EQ(dst[4], A);
	EXPECT_EQ(dst[5], D) << "listcopy writes no 0 slot";
	EXPECT_EQ(listncopy(dst, l + 3, 2), dst + 2);
	EXPECT_EQ(dst[0], C);
	EXPECT_EQ(dst[1], A);
	for (int n : {0, -3}) {
		EXPECT_EQ(listncopy(dst, l, n), dst);
		EXPECT_EQ(dst[0], C);
	}

	char **s = reinterpret_cast<char **>(l);
	EXPECT_EQ(strlistfind(s, "c"), s + 3);
	EXPECT_EQ(strlistfind(s, "x"), nullptr);
	EXPECT_EQ(strlistfind_off(s, "a"), 0);
	EXPECT_EQ(strlistfind_off(s, "c"), 3);
	EXPECT_EQ(strlistfind_off(s, "x"), -1);
	EXPECT_EQ(strlistfind_off(s, ""), -1);
	EXPECT_EQ(strlistcount(s, "a"), 3);
	EXPECT_EQ(strlistcount(s, "x"), 0);
}

TEST(List, MoveRunsFromTheGivenEnd)
{
	// Slots hold their own index, so every copy shows where it came from.
	void *s[8];
	auto reset = [&] { for (intptr_t i = 0; i < 8; i++) s[i] = reinterpret_cast<void *>(i + 1); };
	auto at = [&](int i) { return reinterpret_cast<intptr_t>(s[i]); };

	reset();	// n = 2: src+1 to dst, then src to dst-1
	EXPECT_EQ(listnmove(s + 5, s + 1, 2), s + 3);
	EXPECT_EQ(at(5), 3);
	EXPECT_EQ(at(4), 2);
	EXPECT_EQ(at(3), 4) << "only two slots written";

	reset();	// n = -2: src-1 to dst, then src to dst+1
	EXPECT_EQ(listnmove(s + 4, s + 2, -2), s + 6);
	EXPECT_EQ(at(4), 2);
	EXPECT_EQ(at(5), 3);
	EXPECT_EQ(at(6), 7);

	reset();
	EXPECT_EQ(listnmove(s + 4, s + 2, 0), s + 4);
	EXPECT_EQ(at(4), 5);

	// Overlapping shifts by one slot, up and down, keep every slot.
	reset();
	listnmove(s + 5, s, 5);
	EXPECT_EQ(at(1), 1);
	EXPECT_EQ(at(5), 5);
	reset();
	listnmove(s, s + 5, -5);
	EXPECT_EQ(at(0), 2);
	EXPECT_EQ(at(4), 6);
}

TEST(List, Remove)
{
	void *l[] = {A, B, C, nullptr};
	listremove(l);
	EXPECT_EQ(texts(l), (words{"b", "c"}));
	listremove(l + 1);
	EXPECT_EQ(texts(l), (words{"b"}));
	listremove(nullptr);
}

TEST(List, AppendGrowsByWhatIsAdded)
{
	void *two[] = {A, B, nullptr}, *one[] = {C, nullptr}, *none[] = {nullptr};
	int n = 0;
	void **l = listp_1(nullptr, &n, two);
	EXPECT_EQ(n, 2);
	EXPECT_EQ(l[2], nullptr);
	l = listp_(l, &n, none);
	l = listp_(l, &n, one);
	EXPECT_EQ(n, 3);
	EXPECT_EQ(texts(l), (words{"a", "b", "c"}));

	void *raw[] = {D, D};
	l = nlistp_(l, &n, raw, 2);
	EXPECT_EQ(n, 5);
	l[n] = nullptr;	// nlistp_ leaves the 0 slot to its caller
	EXPECT_EQ(texts(l), (words{"a", "b", "c", "d", "d"}));
	free(l);
}

TEST(List, PrintsQuotedWords)
{
	char x[] = "x", e[] = "-E", q[] = "it's";
	char *l[] = {x, e, q, nullptr}, *none[] = {nullptr};
	EXPECT_EQ(capture([&] { pargs(l); }), "'x' '-E' 'it\\'s' \n");
	EXPECT_EQ(capture([&] { pargs(none); }), "\n");
}

int len(void *a)
{
	return static_cast<int *>(a)[-1];
}

TEST(Array, LengthIsKeptBeforeTheData)
{
	void *a = arralloc(5);
	EXPECT_EQ(len(a), 5);
	a = arrrealloc(a, 64);
	EXPECT_EQ(len(a), 5) << "arrrealloc leaves the length alone";
	EXPECT_EQ(arrfree(a), 0);
	a = arrrealloc(nullptr, 3);
	EXPECT_EQ(len(a), 3);
	arrfree(a);
	EXPECT_EQ(arrfree(nullptr), 0);
}

TEST(Array, AppendAndReplace)
{
	void *a = arrp_(nullptr, "xyz", 3, 0);
	EXPECT_EQ(len(a), 3);
	a = arrp_(a, "pq", 2, 0);
	ASSERT_EQ(len(a), 5);
	EXPECT_EQ(std::string(static_cast<char *>(a), 5), "xyzpq");
	a = arrp_(a, nullptr, 0, 0);
	EXPECT_EQ(len(a), 5);

	// With the flag the old array is released after the copy, so the
	// bytes may come from it.
	a = arrp_(a, static_cast<char *>(a) + 1, 2, 1);
	ASSERT_EQ(len(a), 2);
	EXPECT_EQ(std::string(static_cast<char *>(a), 2), "yz");
	a = arrp_(a, "", 0, 1);
	EXPECT_EQ(len(a), 0);
	arrfree(a);
	arrfree(arrp_(nullptr, "k", 1, 1));
}

TEST(String, Offset)
{
	struct { const char *s; int c, off; } t[] = {
		{"abcb", 'b', 1}, {"abc", 'z', -1}, {"abc", 0, 3}, {"", 0, 0}, {"", 'a', -1},
	};
	for (auto &r : t)
		EXPECT_EQ(strchr_off(r.s, r.c), r.off) << r.s << " " << r.c;
}

TEST(String, Join)
{
	char *none[] = {nullptr}, *cd[] = {C, D, nullptr};
	char *s = strp_(nullptr, none, 0);
	ASSERT_NE(s, nullptr);
	EXPECT_STREQ(s, "");
	s = strp_(s, cd, 0);
	EXPECT_STREQ(s, "cd");
	s = strp_(s, none, 0);
	EXPECT_STREQ(s, "cd");
	char *ab = strdup("ab");
	ab = strp_(ab, cd, 0);
	EXPECT_STREQ(ab, "abcd");

	// The replace flag joins the texts alone and then releases s, so
	// the texts may lie inside s.
	char *part[] = {ab + 2, ab, nullptr};
	char *r = strp_(ab, part, 1);
	EXPECT_STREQ(r, "cdabcd");
	free(r);
	r = strp_(s, none, 1);
	EXPECT_STREQ(r, "");
	free(r);

	char *x = strp_c(nullptr, 'x');
	EXPECT_STREQ(x, "x");
	x = strp_c(x, 'y');
	EXPECT_STREQ(x, "xy");
	free(x);

	char *j = abi_join("ab", "cd");
	EXPECT_STREQ(j, "abcd");
	free(j);
}

TEST(String, ReadUntil)
{
	const char *text = "ab c,{d";
	const char *p = text;
	EXPECT_EQ(strread_until(&p, ",{"), ',');
	EXPECT_STREQ(srbuf, "ab c");
	EXPECT_EQ(p, text + 4) << "the cursor stays on the delimiter";
	EXPECT_EQ(strread_until(&p, ",{"), ',');
	EXPECT_STREQ(srbuf, "");
	EXPECT_EQ(p, text + 4);
	p++;
	EXPECT_EQ(strread_until(&p, ",{"), '{');
	p++;
	EXPECT_EQ(strread_until(&p, ",{"), 0);
	EXPECT_STREQ(srbuf, "d");
	EXPECT_EQ(*p, '\0');
	EXPECT_EQ(strread_until(&p, ",{"), 0);
	EXPECT_STREQ(srbuf, "");
}

TEST(String, Whitespace)
{
	struct { const char *in, *squeezed, *trimmed; } t[] = {
		{"  a \t\n b  ", "a b ", "a b"},
		{"   ", " ", ""},
		{"", "", ""},
		{"a\r\nb", "a b", "a b"},
		{"\ta", "a", "a"},
	};
	for (auto &r : t) {
		char *s = squeeze(strdup(r.in));
		EXPECT_STREQ(s, r.squeezed) << '"' << r.in << '"';
		EXPECT_STREQ(trim(s), r.trimmed) << '"' << r.in << '"';
		free(s);
	}

	// trim takes one space from each end, and only a space.
	struct { const char *in, *out; } u[] = {
		{" a ", "a"}, {"  a", " a"}, {" ", ""}, {"", ""}, {"a\t", "a\t"}, {"a  ", "a "},
	};
	for (auto &r : u) {
		char *s = strdup(r.in);
		char *t2 = trim(s);
		EXPECT_STREQ(t2, r.out) << '"' << r.in << '"';
		EXPECT_TRUE(t2 == s || t2 == s + 1) << "the result lies in the same block";
		free(s);
	}
}

TEST(String, Quote)
{
	struct { const char *in, *out; } t[] = {
		{"", "''"},
		{"x", "'x'"},
		{"it's", "'it\\'s'"},
		{"dir/", "'dir//'"},
		{"a\\", "'a\\/'"},
		{"a\\b", "'a\\b'"},
	};
	for (auto &r : t)
		EXPECT_STREQ(singlequote(r.in), r.out) << r.in;
	EXPECT_EQ(singlequote("q"), out1);
}

TEST(String, Decimal)
{
	EXPECT_STREQ(tostr(-12), "-12");
	EXPECT_STREQ(tostr(0), "0");
	EXPECT_STREQ(tostr(INT_MIN), "-2147483648");
	EXPECT_EQ(tostr(7), str);
}

TEST(String, Slots)
{
	for (int i = 0; i < len_stra; i++)
		free(stra[i]);
	free(stra);
	stra = nullptr;
	len_stra = 0;

	char text[] = "five";
	char *c = dex_1(text, 5);
	EXPECT_NE(c, text) << "a copy is stored";
	EXPECT_STREQ(c, "five");
	ASSERT_EQ(len_stra, 6);
	for (int i = 0; i < 5; i++)
		EXPECT_EQ(stra[i], nullptr) << i;
	EXPECT_STREQ(dex_1("again", 5), "again");
	EXPECT_STREQ(dex_1("two", 2), "two");
	EXPECT_EQ(len_stra, 6);
	EXPECT_STREQ(stra[5], "again");
	EXPECT_STREQ(dex_1("seven", 7), "seven");
	EXPECT_EQ(len_stra, 8);
	EXPECT_EQ(stra[6], nullptr);
	EXPECT_STREQ(stra[2], "two");
}

} // namespace
