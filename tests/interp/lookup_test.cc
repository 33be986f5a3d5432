#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/interp/help.h"

// The process's own definition of a name that the general library
// defines too: the library's reference binds to its own only when it
// was opened with RTLD_DEEPBIND.  (The program exports its symbols.)
extern "C" int orvfix_who(void)
{
	return 2;
}

namespace {

using TableTest = Interp;
using LookupTest = Interp;

TEST_F(TableTest, SetAndLookup)
{
	EXPECT_EQ(orvo_lookup("A"), 0) << "a miss on the empty table is len_page";
	EXPECT_EQ(orvo_set("A", "1", 0), 0);
	EXPECT_EQ(orvo_set("B", "2", 1), 1);
	EXPECT_EQ(orvo_set("A", "3", 0), 0) << "a name set again keeps its index";
	EXPECT_EQ(len_page, 2);
	EXPECT_STREQ(page[0].def, "3");
	EXPECT_EQ(orvo_lookup("B"), 1);
	EXPECT_EQ(orvo_lookup("a"), 2) << "names are case-sensitive";
	EXPECT_EQ(orvo_lookup(""), 2);

	page[2].name = "B";	// a duplicate that orvo_set never makes
	len_page = 3;
	EXPECT_EQ(orvo_lookup("B"), 1) << "the first match wins";
}

// A full table takes no new name and changes nothing; existing names
// can still be set.
TEST_F(TableTest, Full)
{
	static std::vector<std::string> names;
	names.resize(NPAGE);
	for (int i = 0; i < NPAGE; i++) {
		names[size_t(i)] = "o" + std::to_string(i);
		ASSERT_EQ(orvo_set(names[size_t(i)].c_str(), "1", 0), i);
	}
	EXPECT_EQ(orvo_set("extra", "2", 0), -1);
	EXPECT_EQ(len_page, NPAGE);
	EXPECT_EQ(orvo_lookup("extra"), NPAGE);
	EXPECT_STREQ(page[NPAGE - 1].name, "o9999");
	EXPECT_STREQ(page[NPAGE - 1].def, "1");
	EXPECT_EQ(orvo_set("o9999", "3", 0), NPAGE - 1);
	EXPECT_STREQ(page[NPAGE - 1].def, "3");
	EXPECT_EQ(args_lookup("o1"), -1);
}

// The answer of the table without its index: the first entry of the
// name, else len_page.
int scan(const char *name)
{
	int i = 0;
	while (i < len_page && strcmp(page[i].name, name) != 0)
		i++;
	return i;
}

// The index answers as the scan does: over a table written directly,
// duplicates included, when it is turned on; as orvo_set adds names,
// many of them sharing slots, up to a full table; and after it is
// turned off again.
TEST_F(TableTest, IndexAnswersAsTheScan)
{
	static std::deque<std::string> names;	// as long as the table
	std::mt19937 rng(18);
	auto name = [&](int n) -> const char * {
		int k = int(rng() % unsigned(n));
		return names.emplace_back(k % 7 ? "n" + std::to_string(k) : std::string(size_t(k % 5), 'x')).c_str();
	};

	for (int i = 0; i < 60; i++)
		page[i] = {name(30), "1", {}};
	len_page = 60;
	orvo_index(1);
	for (int k = 0; k < 40; k++) {
		const char *n = name(40);
		EXPECT_EQ(orvo_lookup(n), scan(n)) << n;
	}

	// Where the scan would find each name set so far: a map, as the
	// scan itself at every step would take minutes under an emulator.
	std::map<std::string, int> at;
	memset(page, 0, sizeof page);
	len_page = 0;
	orvo_index(1);
	for (int k = 0; k < 2 * NPAGE; k++) {
		const char *n = name(3 * NPAGE);
		int want = at.count(n) ? at[n] : len_page < NPAGE ? len_page : -1;
		if (want == len_page)
			at[n] = want;
		ASSERT_EQ(orvo_set(n, "2", 0), want) << n;
		const char *m = name(4 * NPAGE);
		ASSERT_EQ(orvo_lookup(m), at.count(m) ? at[m] : len_page) << m;
	}
	EXPECT_EQ(len_page, NPAGE);
	for (int k = 0; k < 200; k++) {
		const char *m = name(4 * NPAGE);
		ASSERT_EQ(orvo_lookup(m), scan(m)) << m;
	}

	page[5].name = page[2].name;	// a direct write, then the scan again
	orvo_index(0);
	EXPECT_EQ(orvo_lookup(page[2].name), 2);
}

value call(void *fn, value v)
{
	return reinterpret_cast<cfunc>(fn)(v);
}

const value seven = {T_NUM, 7, nullptr};

// Names are matched exactly; a name no library has gives null.
TEST_F(LookupTest, ExactNames)
{
	std::string out = capture([] {
		void *fn = c_lookup("twice");
		ASSERT_NE(fn, nullptr);
		EXPECT_EQ(call(fn, seven).num, 14);
		for (const char *n : {"Twice", "twic", "twice ", "", "nosuch"})
			EXPECT_EQ(c_lookup(n), nullptr) << n;
	});
	EXPECT_EQ(notes(out), "twice 7\n");
}

// A library's handle also reaches what its dependencies define (libc's
// free, exit): those are no functions of the library, in either one.
TEST_F(LookupTest, OnlyTheLibrarysOwnNames)
{
	capture([] {
		reloadresidentlib();
		ASSERT_NE(residentlib, nullptr);
		for (const char *n : {"getpid", "free", "exit", "dlopen"})
			EXPECT_EQ(c_lookup(n), nullptr) << n;
		EXPECT_NE(c_lookup("Segment"), nullptr);
		EXPECT_NE(c_lookup("twice"), nullptr);
	});
}

// Every lookup that the resident library does not answer closes the
// general library and loads it afresh.
TEST_F(LookupTest, GeneralIsReloadedAtEachLookup)
{
	loaded();
	EXPECT_EQ(capture([] { c_lookup("Segment"); }), reload);
	EXPECT_EQ(capture([] { c_lookup("nosuch"); }), reload);
}

// Once opened, the resident library answers first, and the general
// library is then neither closed nor reopened.
TEST_F(LookupTest, ResidentFirst)
{
	loaded();
	EXPECT_EQ(capture(reloadresidentlib), "orvrlib: load\n");
	ASSERT_NE(residentlib, nullptr);

	void *fn = nullptr;
	EXPECT_EQ(capture([&] { fn = c_lookup("Segment"); }), "");
	ASSERT_NE(fn, nullptr);
	EXPECT_EQ(capture([&] { EXPECT_EQ(call(fn, seven).num, -1); }), "resident Segment 7\n");

	EXPECT_EQ(capture([&] { fn = c_lookup("twice"); }), reload);
	EXPECT_NE(fn, nullptr);
	EXPECT_EQ(capture(reloadresidentlib), "orvrlib: unload\norvrlib: load\n");
}

// The general library is opened with RTLD_NOW | RTLD_DEEPBIND: its own
// orvfix_who (1) wins over the program's (2).  The sanitizer build
// drops RTLD_DEEPBIND, which AddressSanitizer refuses, and the
// program's definition wins there.
TEST_F(LookupTest, LibraryPrefersItsOwnSymbols)
{
	void *fn = c_lookup("who");
	ASSERT_NE(fn, nullptr);
#ifdef ORV_SANITIZE
	EXPECT_EQ(call(fn, seven).num, 2);
#else
	EXPECT_EQ(call(fn, seven).num, 1);
#endif
}

} // namespace
