// orv's function libraries, searched in place of orvcalc's two files.
#include <dlfcn.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "interp/interp.h"
#include "orv/libs.h"

namespace {

struct lib {
	std::string path;
	void *h;
	struct stat st;		// the file as it was when opened
	long long seen;		// when it was last looked at, in ns
	// What c_own answered for each name asked, misses too: its dlsym
	// and the check of where the symbol lies cost more than the call.
	std::unordered_map<std::string, void *> known;
};

void *own(lib &l, const char *name)
{
	auto [at, fresh] = l.known.try_emplace(name, nullptr);
	if (fresh)
		at->second = c_own(l.h, name);
	return at->second;
}

std::vector<lib> res, gen;

// A file is taken for changed when it is another file or was written
// since: what a rebuild or a copy over it does.  One that cannot be
// seen now (removed while being rebuilt) keeps what is open.
bool changed(const lib &l)
{
	struct stat st;

	if (stat(l.path.c_str(), &st) != 0)
		return false;
	return st.st_dev != l.st.st_dev || st.st_ino != l.st.st_ino || st.st_size != l.st.st_size ||
	       st.st_ctim.tv_sec != l.st.st_ctim.tv_sec || st.st_ctim.tv_nsec != l.st.st_ctim.tv_nsec;
}

// A file is looked at no more than once a millisecond: a stat at every
// lookup would cost half as much again as the call itself, and no
// rebuild is that quick.
bool due(lib &l)
{
	struct timespec ts;

	clock_gettime(CLOCK_MONOTONIC, &ts);
	long long now = ts.tv_sec * 1000000000LL + ts.tv_nsec;
	if (now - l.seen < 1000000)
		return false;
	l.seen = now;
	return true;
}

// The file is looked at before it is opened, so that a change while
// it is opened shows at the next lookup.  A library that fails to open
// is tried again then.
void reopen(lib &l)
{
	if (l.h)
		dlclose(l.h);
	l.known.clear();
	if (stat(l.path.c_str(), &l.st) != 0)
		l.st = {};
	l.h = c_open(l.path.c_str());
}

void *lookup(const char *name)
{
	void *fn;

	for (lib &l : res)
		if ((fn = own(l, name)))
			return fn;
	for (lib &l : gen) {
		if (due(l) && (!l.h || changed(l)))
			reopen(l);
		if (l.h && (fn = own(l, name)))
			return fn;
	}
	return nullptr;
}

} // namespace

std::string addlib(const std::string &path, bool resident)
{
	lib l{path, nullptr, {}, 0, {}};

	reopen(l);
	if (!l.h) {
		const char *e = dlerror();
		return e ? e : path + ": cannot be opened";
	}
	(resident ? res : gen).push_back(l);
	return "";
}

std::string ownlib()
{
	// Installed, the library lies at a fixed place beside the program's
	// folder (ORV_OWNLIB); in a build folder at lib/orv beside bin/.
	std::string self(4096, '\0');
	ssize_t n = readlink("/proc/self/exe", self.data(), self.size());
	if (n <= 0 || size_t(n) == self.size())
		return "";
	self.resize(size_t(n));
	std::string dir = self.substr(0, self.rfind('/') + 1);
	for (const char *rel : {ORV_OWNLIB, "../lib/orv/orvlib.so"}) {
		std::string p = dir + rel;
		if (access(p.c_str(), F_OK) == 0)
			return p;
	}
	return "";
}

void uselibs()
{
	lookuphook = lookup;
}
