/* Recovery files: the text of a buffer with unsaved changes, kept in the
   user's state folder so that a kill, a crash of the display or a hang-up
   loses nothing.  One file per edited file, named after its path; it
   begins with a header that names the file and the process that wrote
   it, then the text. */
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include "orvedit/edit.h"

static const char magic[] = "orvedit recovery\n";

/* $XDG_STATE_HOME/orvedit, else ~/.local/state/orvedit; empty when
   neither can be told. */
static std::string state_dir()
{
	const char *x = getenv("XDG_STATE_HOME"), *h = getenv("HOME");
	if (x && *x == '/')
		return std::string(x) + "/orvedit";
	if (h && *h == '/')
		return std::string(h) + "/.local/state/orvedit";
	return "";
}

/* Makes the folder and those above it; what is made is the user's
   alone, as the texts in it may be private. */
static bool make_dir(const std::string &d)
{
	for (size_t k = 1; k <= d.size(); k++) {
		if (k < d.size() && d[k] != '/')
			continue;
		std::string p = d.substr(0, k);
		if (mkdir(p.c_str(), 0700) != 0 && errno != EEXIST)
			return false;
	}
	struct stat s;
	return stat(d.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

/* The file's path from the root, for naming its recovery file. */
static std::string absolute(const std::string &p)
{
	if (p.empty() || p[0] == '/')
		return p;
	char b[PATH_MAX];
	return getcwd(b, sizeof b) ? std::string(b) + "/" + p : p;
}

/* FNV-1a: enough to tell paths apart in a name. */
static unsigned long long hash(const std::string &s)
{
	unsigned long long h = 14695981039346656037ull;
	for (unsigned char c : s)
		h = (h ^ c) * 1099511628211ull;
	return h;
}

static std::string header(const editor &e, long pid)
{
	return magic + absolute(e.target) + "\n" + std::to_string(pid) + "\n";
}

/* NAME-HASH.orvedit, NAME cut short; a buffer without a name has one of
   its process's. */
std::string rec_path(const editor &e)
{
	std::string d = state_dir();
	if (d.empty())
		return "";
	if (e.name.empty())
		return d + "/unnamed-" + std::to_string((long)getpid()) + ".orvedit";
	std::string a = absolute(e.target);
	std::string base = a.substr(a.rfind('/') + 1).substr(0, 100);
	char h[32];
	snprintf(h, sizeof h, "-%016llx.orvedit", hash(a));
	return d + "/" + base + h;
}

/* Written beside and renamed into place: a kill during the write leaves
   the recovery file before it whole. */
bool rec_write(editor &e)
{
	e.rec_edits = e.edits;
	std::string p = rec_path(e);
	if (p.empty()) {
		e.notice = "no recovery file: neither XDG_STATE_HOME nor HOME is set";
		return false;
	}
	std::string d = p.substr(0, p.rfind('/'));
	if (!make_dir(d)) {
		e.notice = "no recovery file: " + d + ": " + strerror(errno);
		return false;
	}
	std::string t = p + ".new-" + std::to_string((long)getpid());
	int fd = open(t.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
	if (fd < 0) {
		e.notice = "no recovery file: " + t + ": " + strerror(errno);
		return false;
	}
	std::string h = header(e, (long)getpid());
	bool ok = write_all(fd, h.data(), h.size()) &&
		write_all(fd, e.f.text, strlen(e.f.text)) && fdatasync(fd) == 0;
	int err = errno;
	if (close(fd) != 0 && ok) {
		ok = false;
		err = errno;
	}
	if (ok && rename(t.c_str(), p.c_str()) != 0) {
		ok = false;
		err = errno;
	}
	if (!ok) {
		unlink(t.c_str());
		e.notice = "no recovery file: " + p + ": " + strerror(err);
		return false;
	}
	/* A recovery adopted from a killed editor of a text without a
	   name had that editor's name: ours replaces it. */
	if (!e.rec.empty() && e.rec != p)
		unlink(e.rec.c_str());
	e.rec = p;
	return true;
}

void rec_drop(editor &e)
{
	if (!e.rec.empty())
		unlink(e.rec.c_str());
	e.rec.clear();
}

/* The whole file, or what could be read of it. */
static std::string slurp(const std::string &p)
{
	std::string s;
	FILE *f = fopen(p.c_str(), "rb");
	if (!f)
		return s;
	char b[65536];
	size_t n;
	while ((n = fread(b, 1, sizeof b, f)) > 0)
		s.append(b, n);
	fclose(f);
	return s;
}

/* The time of day, with the date when it is not today's. */
static std::string clock_of(time_t t)
{
	char b[32];
	struct tm tm, today;
	time_t now = time(nullptr);
	localtime_r(&t, &tm);
	localtime_r(&now, &today);
	bool same_day = tm.tm_year == today.tm_year && tm.tm_yday == today.tm_yday;
	strftime(b, sizeof b, same_day ? "%H:%M:%S" : "%Y-%m-%d %H:%M", &tm);
	return b;
}

/* How much later than the file the recovery was written, in words. */
static std::string later(time_t rec, const disk &d)
{
	if (!d.there)
		return "the file is gone";
	long s = (long)(rec - d.mtime.tv_sec);
	long a = s < 0 ? -s : s;
	char b[64];
	if (a < 120)
		snprintf(b, sizeof b, "%ld s", a);
	else if (a < 7200)
		snprintf(b, sizeof b, "%ld min", a / 60);
	else
		snprintf(b, sizeof b, "%ld h", a / 3600);
	return std::string(b) + (s < 0 ? " before it" : " after it");
}

/* The text of the recovery file p if it is one of header h (the file's
   path) that no running editor writes; false if not. */
static bool orphan(const std::string &p, const std::string &h,
	std::string &text)
{
	std::string all = slurp(p);
	if (all.compare(0, h.size(), h) != 0)
		return false;	/* another file's, whose name hashes alike */
	size_t nl = all.find('\n', h.size());
	if (nl == std::string::npos)
		return false;
	long pid = atol(all.c_str() + h.size());
	if (pid != (long)getpid() && pid > 0 &&
	    (kill((pid_t)pid, 0) == 0 || errno == EPERM))
		return false;	/* its editor is still at work */
	text = all.substr(nl + 1);
	return true;
}

/* The newest recovery file of a text without a name that no running
   editor writes, for an editor started without a file. */
static std::string newest_unnamed(std::string &text)
{
	std::string d = state_dir(), best;
	time_t when = 0;
	DIR *dir = d.empty() ? nullptr : opendir(d.c_str());
	if (!dir)
		return "";
	while (dirent *de = readdir(dir)) {
		std::string n = de->d_name, t;
		struct stat s;
		if (n.compare(0, 8, "unnamed-") != 0 || n.size() < 8 ||
		    n.compare(n.size() - 8, 8, ".orvedit") != 0 ||
		    stat((d + "/" + n).c_str(), &s) != 0 ||
		    (!best.empty() && s.st_mtime < when) ||
		    !orphan(d + "/" + n, std::string(magic) + "\n", t))
			continue;
		best = d + "/" + n;
		when = s.st_mtime;
		text = t;
	}
	closedir(dir);
	return best;
}

/* A recovery file of this file (or of a text without a name, when the
   editor has none) that no running editor writes: offers its text in
   place of the file's, as one change that undo takes back. */
void rec_offer(editor &e)
{
	std::string text, p;
	if (e.name.empty()) {
		p = newest_unnamed(text);
	} else {
		p = rec_path(e);
		if (!p.empty() && !orphan(p, magic + absolute(e.target) + "\n", text))
			p.clear();
	}
	struct stat s;
	if (p.empty() || stat(p.c_str(), &s) != 0)
		return;
	if (text == std::string(e.f.text, e.len)) {
		unlink(p.c_str());
		return;
	}
	/* The keys first: a narrow window cuts the end of the line. */
	char size[96];
	snprintf(size, sizeof size, "%zu bytes, %+lld on the file", text.size(),
		(long long)text.size() - e.len);
	std::string q = "unsaved text: r restore, d discard (" + std::string(size) +
		"; " + clock_of(s.st_mtime) + ", " + later(s.st_mtime, e.seen) + ")";
	if (e.name.empty())
		q = "unsaved new text: r restore, d discard (" +
			std::to_string(text.size()) + " bytes; " +
			clock_of(s.st_mtime) + ")";
	ask_choice(e, q, "rd", [p, text](editor &e, const std::string &a) {
		if (a == "d") {
			unlink(p.c_str());
			e.notice = "unsaved text discarded";
			return;
		}
		replace(e, 0, e.len, text, false);
		if (std::string(e.f.text, e.len) != text)
			return;	/* refused, and said why; the file stays */
		e.cur = 0;
		e.typing = false;
		e.rec = p;
		e.rec_edits = e.edits;
		e.notice = "restored the unsaved text: Ctrl+S saves it, Ctrl+Z "
			"shows the file";
	});
	/* Not put off: this editor's own recovery file would take the
	   place of the one asked about. */
	e.ask.cancel = rec_offer;
}

/* The editor whose text a lost display must not take with it. */
static editor *live;

/* Xlib calls this when the connection to the display is gone, and ends
   the process when it returns: the text is written first. */
static int lost_display(void *)
{
	if (live && dirty(*live) && rec_write(*live))
		fprintf(stderr, "orvedit: the display is gone; the unsaved text "
			"is in %s\n", live->rec.c_str());
	else
		fprintf(stderr, "orvedit: the display is gone\n");
	_exit(1);
}

void rec_guard(editor &e)
{
	using handler = int (*)(void *);
	live = &e;
	/* Xlib, where SDL loaded it; not there on other video drivers. */
	void *lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
	if (!lib)
		return;
	auto set = (handler (*)(handler))dlsym(lib, "XSetIOErrorHandler");
	if (set)
		set(lost_display);
	dlclose(lib);
}

void rec_unguard(const editor &e)
{
	if (live == &e)
		live = nullptr;
}
