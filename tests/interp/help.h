// Helpers of the interpreter tests.
#ifndef ORV_TESTS_INTERP_HELP_H
#define ORV_TESTS_INTERP_HELP_H

#include <dlfcn.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "interp/interp.h"
#include "tests/support/capture.h"
#include "tests/support/value.h"

// The two trace lines of one token: as read, then cleaned.
inline std::string tr(int depth, const std::string &raw, const std::string &clean, char d)
{
	auto line = [&](const std::string &t) {
		return std::to_string(depth) + " " + t + " " + std::string(1, d) + "\n";
	};
	return line(raw) + line(clean);
}

inline std::string tr(int depth, const std::string &tok, char d)
{
	return tr(depth, tok, tok, d);
}

// The lines of out that are neither trace lines nor the general
// library's reports of its loading.
inline std::string notes(const std::string &out)
{
	std::string r;
	size_t i = 0;
	while (i < out.size()) {
		size_t e = out.find('\n', i);
		e = e == std::string::npos ? out.size() : e + 1;
		std::string l = out.substr(i, e - i);
		size_t k = l.find_first_not_of("0123456789");
		bool trace = k > 0 && k != std::string::npos && l[k] == ' ';
		if (!trace && l.rfind("orvlib: ", 0) != 0)
			r += l;
		i = e;
	}
	return r;
}

// What a library reports when a lookup unloads it and loads it afresh.
inline const std::string reload = "orvlib: unload\norvlib: load\n";

// Every test starts on an empty object table with the resident library
// closed.
struct Interp : testing::Test {
	void SetUp() override
	{
		memset(page, 0, sizeof page);
		len_page = 0;
		orvo_index(0);
		if (residentlib)
			dlclose(residentlib);
		residentlib = nullptr;
	}
	void TearDown() override { SetUp(); }

	// Leaves the general library loaded with no call pending, so that
	// the next lookup it answers reports exactly one reload.
	static void loaded() { ASSERT_NE(c_lookup("twice"), nullptr); }

	// Evaluates def as the object "t", from depth 0.
	static value eval(const char *def, std::string *out = nullptr)
	{
		value v;
		std::string o = capture([&] { v = parse(orvo_set("t", def, 0), nullptr, 0, 1, 1, 0); });
		if (out)
			*out = o;
		return v;
	}
};

#endif
