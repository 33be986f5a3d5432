// Texts built byte by byte grow by exactly one byte at a time: one
// reallocation per character, the block always the text and its NUL and
// no more.  The program is linked with --wrap=realloc, so every
// reallocation of the utilities passes through here.
#include <stdlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "util/util.h"

static bool watching;
static std::vector<size_t> sizes;

extern "C" void *__real_realloc(void *p, size_t n);

extern "C" void *__wrap_realloc(void *p, size_t n)
{
	if (watching)
		sizes.push_back(n);
	return __real_realloc(p, n);
}

namespace {

// The block sizes of the reallocations that f makes.
template <class F> std::vector<size_t> grown(F f)
{
	sizes.clear();
	watching = true;
	f();
	watching = false;
	return sizes;
}

// from, from + 1, ..., to
std::vector<size_t> upto(size_t from, size_t to)
{
	std::vector<size_t> v;
	for (size_t n = from; n <= to; n++)
		v.push_back(n);
	return v;
}

TEST(Grow, OneByteAtATime)
{
	const size_t n = 5000;
	std::string text(n, 'x');
	const char *p = "";
	strread_until(&p, ",");	// srbuf exists from here on

	p = text.c_str();
	EXPECT_EQ(grown([&] { strread_until(&p, ","); }), upto(2, n + 1));
	EXPECT_EQ(srbuf, text);

	// squeeze starts from an empty text, which the compiler may get
	// from malloc; then one reallocation per byte, the space included.
	text[n / 2] = '\t';
	char *s = nullptr;
	std::vector<size_t> v = grown([&] { s = squeeze(strdup(text.c_str())); });
	if (v.size() == n + 1 && v[0] == 2)
		v.erase(v.begin());
	EXPECT_EQ(v, upto(2, n + 1));
	text[n / 2] = ' ';
	EXPECT_EQ(s, text);
	free(s);

	s = strdup("abc");
	EXPECT_EQ(grown([&] { s = strp_c(s, 'd'); }), std::vector<size_t>{5});
	free(s);
}

} // namespace
