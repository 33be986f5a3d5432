/* Loading and saving.  A save never writes into the file it replaces:
   it writes a new file in the same folder, flushes it to disk and
   renames it over the old one, so that at every moment the file is
   either wholly old or wholly new, whatever fails (a full disk, a
   crash, a lost permission).  The new file is made unnamed where the
   file system allows (O_TMPFILE), so that even a crash during the write
   leaves nothing behind; it gets a name only just before the rename. */
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <functional>
#include <string>
#include <unistd.h>

#include "orvedit/edit.h"

/* The temporary file while it has a name, for the signal handler. */
static char tmpname[4096];
static volatile sig_atomic_t tmpnamed;
/* A termination signal not yet acted on. */
static volatile sig_atomic_t ending;

/* SIGTERM and SIGHUP are noted for the loop, which writes the recovery
   file and then ends the process as the signal would have (die_of).  A
   second one does not wait: it removes the named temporary of a save
   under way and ends the process at once.  SIGINT is not one: it asks
   to quit, which asks about unsaved changes (input.cc). */
static void onterm(int sig)
{
	if (!ending) {
		ending = sig;
		return;
	}
	if (tmpnamed)
		unlink(tmpname);
	signal(sig, SIG_DFL);
	raise(sig);
}

void catch_signals()
{
	static bool done;
	if (done)
		return;
	done = true;
	/* A file-size limit makes write fail with EFBIG instead of ending
	   the process: the save reports it like a full disk. */
	signal(SIGXFSZ, SIG_IGN);
	/* Restarted: a save under way goes on rather than failing with
	   EINTR, and the loop acts on the signal after it. */
	struct sigaction sa = {};
	sa.sa_handler = onterm;
	sa.sa_flags = SA_RESTART;
	sigemptyset(&sa.sa_mask);
	for (int s : {SIGTERM, SIGHUP})
		sigaction(s, &sa, nullptr);
}

int term_signal()
{
	return ending;
}

void die_of(int sig)
{
	if (tmpnamed)
		unlink(tmpname);
	signal(sig, SIG_DFL);
	raise(sig);
	_exit(128 + sig);
}

static std::string dir_of(const std::string &p)
{
	size_t k = p.rfind('/');
	if (k == std::string::npos)
		return ".";
	if (k == 0)
		return "/";
	return p.substr(0, k);
}

static std::string base_of(const std::string &p)
{
	size_t k = p.rfind('/');
	return k == std::string::npos ? p : p.substr(k + 1);
}

/* The file a save replaces: path with its symbolic links followed, also
   a link to a file yet to be made.  The link itself stays a link. */
static std::string resolve(const std::string &path)
{
	std::string p = path;
	for (int n = 0; n < 40; n++) {
		struct stat s;
		if (lstat(p.c_str(), &s) != 0 || !S_ISLNK(s.st_mode))
			return p;
		std::string t(4096, 0);
		ssize_t k = readlink(p.c_str(), t.data(), t.size());
		if (k <= 0 || (size_t)k >= t.size())
			return p;
		t.resize(k);
		p = t[0] == '/' ? t : dir_of(p) + "/" + t;
	}
	return p;
}

disk look(const std::string &p)
{
	struct stat s;
	disk d = {};
	if (stat(p.c_str(), &s) == 0)
		d = {true, s.st_dev, s.st_ino, s.st_size, s.st_mtim};
	return d;
}

bool same(const disk &a, const disk &b)
{
	if (a.there != b.there)
		return false;
	return !a.there || (a.dev == b.dev && a.ino == b.ino &&
		a.size == b.size && a.mtime.tv_sec == b.mtime.tv_sec &&
		a.mtime.tv_nsec == b.mtime.tv_nsec);
}

void set_file(editor &e, const std::string &name)
{
	e.name = name;
	e.f.path = e.name.data();
	e.target = name.empty() ? "" : resolve(name);
}

/* Why a save must not replace the file, or empty.  err is stat's errno
   (0: s holds the status), len what was loaded of it.  Only a file
   that is not there is a new one: a status that cannot be read (a file
   too large for this build's stat, say) may hide a file that a save
   would destroy. */
static std::string why_ro(const std::string &name, int err,
	const struct stat &s, int len)
{
	if (err && err != ENOENT)
		return std::string("no status: ") + strerror(err);
	if (err)
		return "";
	if (!S_ISREG(s.st_mode))
		return "not a regular file";
	/* st is the status read_file took.  A text shorter than the file
	   (a NUL byte ends it, or the file was too large to load) would
	   lose the rest if saved. */
	if (st.st_size > len || s.st_size > len)
		return "not loaded whole (a NUL byte, too large, or unreadable)";
	/* Also for root, who may write anything: a file that nobody may
	   write is meant to stay as it is. */
	if (access(name.c_str(), W_OK) != 0 || (s.st_mode & 0222) == 0)
		return "no write permission";
	return "";
}

/* Loads the file, deciding whether a save may replace it.  Only a
   regular file is read: a named pipe would hold the editor for ever, and
   a file without a status may be anything.  Those start empty. */
void load(editor &e)
{
	/* Taken before reading: a change during the read shows later. */
	e.seen = e.name.empty() ? disk{} : look(e.target);
	struct stat s = {};
	int err = e.name.empty() ? ENOENT :
		stat(e.name.c_str(), &s) == 0 ? 0 : errno;
	if (err == 0 && S_ISREG(s.st_mode)) {
		read_file(&e.f, 100);
	} else {
		free(e.f.text);
		e.f.cap = 1 + 100;
		e.f.text = (char *)malloc(e.f.cap);
		e.f.text[0] = 0;
	}
	e.len = (int)strlen(e.f.text);
	ln_build(e.lines, view_of(e));
	e.ro_why = why_ro(e.name, err, s, e.len);
	e.ro = !e.ro_why.empty();
}

/* Writes all n bytes, through short writes and interruptions. */
bool write_all(int fd, const char *p, size_t n)
{
	while (n > 0) {
		ssize_t k = write(fd, p, n);
		if (k < 0 && errno == EINTR)
			continue;
		if (k <= 0)
			return false;
		p += k;
		n -= k;
	}
	return true;
}

/* The longest name the folder takes. */
static size_t name_max(const std::string &dir)
{
	long m = pathconf(dir.c_str(), _PC_NAME_MAX);
	return m > 0 ? (size_t)m : NAME_MAX;
}

/* base cut so that tail fits after it within the folder's name limit,
   at a character's first byte. */
static std::string fit(const std::string &dir, const std::string &base,
	size_t tail)
{
	size_t most = name_max(dir);
	if (base.size() + tail <= most)
		return base;
	size_t n = most > tail ? most - tail : 0;
	while (n > 0 && ((unsigned char)base[n] & 0xC0) == 0x80)
		n--;
	return base.substr(0, n);
}

/* A name for the new file beside the target: hidden, unused, and within
   the folder's name limit however long the target's name is. */
static std::string temp_name(const std::string &dir, const std::string &base)
{
	static unsigned n;
	char b[64];
	snprintf(b, sizeof b, ".orvedit-%ld-%u", (long)getpid(), n++);
	return dir + "/." + fit(dir, base, 1 + strlen(b)) + b;
}

/* The process id in a temporary's name, ".NAME.orvedit-PID-N", or 0. */
static long temp_pid(const char *name)
{
	const char *m = strstr(name, ".orvedit-");
	if (name[0] != '.' || !m)
		return 0;
	while (const char *again = strstr(m + 1, ".orvedit-"))
		m = again;
	char *end;
	long pid = strtol(m + 9, &end, 10);
	if (end == m + 9 || *end != '-' || !isdigit((unsigned char)end[1]))
		return 0;
	for (end++; isdigit((unsigned char)*end); end++)
		;
	return *end == 0 && pid > 0 ? pid : 0;
}

/* Removes the named temporaries of saves that a kill cut short: files
   of ours whose process is gone. */
static void sweep(const std::string &dir)
{
	DIR *d = opendir(dir.c_str());
	if (!d)
		return;
	while (dirent *de = readdir(d)) {
		long pid = temp_pid(de->d_name);
		struct stat s;
		if (pid == 0 || pid == getpid() ||
		    fstatat(dirfd(d), de->d_name, &s, AT_SYMLINK_NOFOLLOW) != 0 ||
		    !S_ISREG(s.st_mode) || s.st_uid != geteuid())
			continue;
		if (kill((pid_t)pid, 0) != 0 && errno == ESRCH)
			unlinkat(dirfd(d), de->d_name, 0);
	}
	closedir(d);
}

/* Calls make with fresh temporary names beside the target until one is
   not taken; the name is in tmpname meanwhile, and stays there when
   make succeeds.  What make returns (0 or more), or -1 with errno. */
static int with_temp(const std::string &dir, const std::string &base,
	const std::function<int(const char *)> &make)
{
	for (int i = 0; i < 100; i++) {
		std::string t = temp_name(dir, base);
		if (t.size() >= sizeof tmpname) {
			errno = ENAMETOOLONG;
			return -1;
		}
		memcpy(tmpname, t.c_str(), t.size() + 1);
		tmpnamed = 1;
		int r = make(tmpname);
		if (r >= 0)
			return r;
		tmpnamed = 0;
		if (errno != EEXIST)
			return -1;
	}
	return -1;
}

/* Opens the new file in dir: unnamed if the file system can, else under a
   fresh name. */
static int open_new(const std::string &dir, const std::string &base)
{
#ifdef O_TMPFILE
	int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
	/* A kernel or file system without it says EISDIR or EOPNOTSUPP. */
	if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR &&
	                errno != EINVAL))
		return fd;
#endif
	return with_temp(dir, base, [](const char *t) {
		return open(t, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
	});
}

/* Gives the unnamed file a name beside the target, for the rename. */
static bool name_new(int fd, const std::string &dir, const std::string &base)
{
	if (tmpnamed)
		return true;
	char proc[64];
	snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
	return with_temp(dir, base, [&](const char *t) {
		return linkat(AT_FDCWD, proc, AT_FDCWD, t, AT_SYMLINK_FOLLOW);
	}) == 0;
}

/* Makes the rename itself durable. */
static void sync_dir(const std::string &dir)
{
	int d = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (d >= 0) {
		fsync(d);
		close(d);
	}
}

/* Keeps the new text that a save in place could not finish, under a
   name the user sees beside the target.  Its name, or the temporary's
   when no other can be had. */
static std::string keep(const std::string &dir, const std::string &base)
{
	for (int i = 1; i < 100; i++) {
		std::string tail = ".orvedit-copy";
		if (i > 1) {
			// Appended: GCC 12 at -O3 warns falsely (-Wrestrict) on a literal + string.
			tail += '-';
			tail += std::to_string(i);
		}
		std::string k = dir + "/" + fit(dir, base, tail.size()) + tail;
		if (link(tmpname, k.c_str()) == 0) {
			unlink(tmpname);
			return k;
		}
		if (errno != EEXIST)
			break;
	}
	return tmpname;
}

/* Writes text over the target itself, for a target that cannot be
   replaced (a file mounted on its own).  The whole text is already in
   the named temporary: when the target was changed only in part, that
   copy is kept and its name given in kept. */
static int in_place(const std::string &target, const std::string &dir,
	const std::string &base, const char *text, size_t n, std::string &kept)
{
	int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
	if (fd < 0)
		return errno;
	int err = 0;
	if (!write_all(fd, text, n) || ftruncate(fd, (off_t)n) != 0 ||
	    fsync(fd) != 0)
		err = errno;
	if (close(fd) != 0 && !err)
		err = errno;
	if (err)
		kept = keep(dir, base);
	else
		unlink(tmpname);
	tmpnamed = 0;
	return err;
}

/* Writes text to a new file in the target's folder with the target's
   permissions and puts it in the target's place.  0, or the errno of the
   step that failed, with nothing left behind but what kept names. */
static int swap_in(const std::string &target, const char *text, size_t n,
	std::string &kept)
{
	std::string dir = dir_of(target), base = base_of(target);
	struct stat old;
	bool had = stat(target.c_str(), &old) == 0;
	mode_t mode;
	if (had) {
		mode = old.st_mode & 07777;
	} else {
		mode_t mask = umask(0);
		umask(mask);
		mode = 0666 & ~mask;
	}

	sweep(dir);
	int fd = open_new(dir, base);
	if (fd < 0)
		return errno;
	int err = 0;
	if (!write_all(fd, text, n) || fsync(fd) != 0)
		err = errno;
	/* The owner first: a change of owner clears the set-id bits.  Only
	   root may give a file away; others keep their own. */
	if (!err && had && (old.st_uid != geteuid() || old.st_gid != getegid()))
		if (fchown(fd, old.st_uid, old.st_gid) != 0 && geteuid() == 0)
			err = errno;
	if (!err && fchmod(fd, mode) != 0)
		err = errno;
	if (!err && !name_new(fd, dir, base))
		err = errno;
	if (close(fd) != 0 && !err)
		err = errno;
	if (!err && rename(tmpname, target.c_str()) != 0)
		err = errno;
	/* A file mounted on its own cannot be replaced, only rewritten. */
	if (err == EBUSY)
		return in_place(target, dir, base, text, n, kept);
	if (err) {
		if (tmpnamed)
			unlink(tmpname);
		tmpnamed = 0;
		return err;
	}
	tmpnamed = 0;
	sync_dir(dir);
	return 0;
}

/* The file changed on disk since it was read or saved: overwrite it,
   read it again (the buffer's text stays in the history), or neither. */
static void ask_changed(editor &e)
{
	ask_choice(e, "the file changed on disk: o overwrite it, r reload it "
		"(undo brings mine back), c cancel", "orc",
		[](editor &e, const std::string &a) {
			if (a == "o") {
				e.overwrite = true;
				edit_save(e);
			} else if (a == "r") {
				reload(e);
			}
		});
}

bool edit_save(editor &e)
{
	if (e.name.empty()) {
		save_as(e);
		return false;
	}
	if (e.ro) {
		e.notice = "read-only (" + e.ro_why + "): nothing written; "
			"Ctrl+Shift+S saves under another name";
		return false;
	}
	if (!e.overwrite && !same(look(e.target), e.seen)) {
		ask_changed(e);
		return false;
	}
	/* The buffer's own text, whatever the editor counted. */
	size_t n = strlen(e.f.text);
	std::string kept;
	int err = swap_in(e.target, e.f.text, n, kept);
	if (err) {
		e.notice = "not saved: " + e.name + ": " + strerror(err);
		if (!kept.empty())
			e.notice += "; written in part: the whole text is in " + kept;
		return false;
	}
	e.seen = look(e.target);
	e.overwrite = false;
	e.quit_asked = false;
	e.saved = (long)e.done;
	e.typing = false;
	rec_drop(e);
	char b[64];
	snprintf(b, sizeof b, " (%zu bytes)", n);
	e.notice = "saved " + e.name + b;
	set_title(e);
	return true;
}
