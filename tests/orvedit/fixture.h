/* The editor in-process on SDL's offscreen video driver: events go in
   through SDL's queue as a window system would send them, files are
   read back byte for byte.  Also a scratch folder and a child process
   for the cases that change limits or users. */
#ifndef TESTS_ORVEDIT_FIXTURE_H
#define TESTS_ORVEDIT_FIXTURE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>
#include <dirent.h>
#include <ftw.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "edit.h"

/* A scratch folder, removed with all it holds. */
class scratch {
public:
	std::string path;
	scratch()
	{
		char t[] = "/tmp/orvedit-test-XXXXXX";
		path = mkdtemp(t);
		/* Reachable by the unprivileged user of the children. */
		chmod(path.c_str(), 0755);
	}
	~scratch()
	{
		nftw64(path.c_str(), [](const char *p, const struct stat64 *, int, FTW *) {
			chmod(p, 0700);	/* a folder made read-only by a test */
			return remove(p);
		}, 16, FTW_DEPTH | FTW_PHYS);
	}
	std::string operator/(const std::string &name) const
	{
		return path + "/" + name;
	}
	scratch(const scratch &) = delete;
	scratch &operator=(const scratch &) = delete;
};

/* The names in a folder, sorted, without . and .. */
inline std::vector<std::string> names(const std::string &dir)
{
	std::vector<std::string> v;
	if (DIR *d = opendir(dir.c_str())) {
		/* 64-bit entries: ext4's directory offsets do not fit the
		   32-bit ones of armhf, where readdir would stop at once. */
		while (dirent64 *e = readdir64(d))
			if (strcmp(e->d_name, ".") && strcmp(e->d_name, ".."))
				v.push_back(e->d_name);
		closedir(d);
	}
	std::sort(v.begin(), v.end());
	return v;
}

inline std::string slurp(const std::string &path)
{
	std::ifstream f(path, std::ios::binary);
	std::stringstream s;
	s << f.rdbuf();
	return s.str();
}

inline void spit(const std::string &path, const std::string &bytes)
{
	std::ofstream f(path, std::ios::binary | std::ios::trunc);
	f << bytes;
}

inline mode_t mode_of(const std::string &path)
{
	struct stat s;
	return lstat(path.c_str(), &s) == 0 ? s.st_mode : 0;
}

/* Runs fn in a child process; with drop, as the unprivileged user 65534
   when the tests run as root, whom permissions do not bind.  fn answers
   what went wrong, or nothing. */
inline std::string in_child(const std::function<std::string()> &fn,
	bool drop = false)
{
	int p[2];
	if (pipe(p) != 0)
		return "pipe failed";
	fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		close(p[0]);
		std::string r;
		if (drop && geteuid() == 0 &&
		    (setgroups(0, nullptr) != 0 || setgid(65534) != 0 ||
		     setuid(65534) != 0))
			r = "cannot become user 65534";
		else
			r = fn();
		if (write(p[1], r.data(), r.size()) < 0)
			_exit(3);
		_exit(0);
	}
	close(p[1]);
	std::string r;
	char b[256];
	ssize_t n;
	while ((n = read(p[0], b, sizeof b)) > 0)
		r.append(b, n);
	close(p[0]);
	int st = 0;
	waitpid(pid, &st, 0);
	if (!WIFEXITED(st))
		r += " (child ended by signal " + std::to_string(WTERMSIG(st)) + ")";
	return r;
}

/* Gives the unprivileged user of in_child a path, when running as root. */
inline void give(const std::string &path)
{
	if (geteuid() == 0 && lchown(path.c_str(), 65534, 65534) != 0)
		ADD_FAILURE() << "chown " << path;
}

/* One editor on the offscreen driver.  Usable in a child process too:
   nothing here needs the test framework. */
class session {
public:
	editor e{};
	bool up = false;

	/* Opens path; plugin empty for none. */
	bool open(const std::string &path, const std::string &plugin = PLOTPLUG_PATH,
		std::vector<int32_t> tabs = {})
	{
		SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen",
			SDL_HINT_OVERRIDE);
		if (SDL_Init(SDL_INIT_VIDEO) != 0)
			return false;
		edit_opts o;
		o.plugin = plugin;
		o.tabs = tabs;
		std::string err;
		up = edit_open(e, path.c_str(), o, err);
		if (up)
			edit_pump(e);
		return up;
	}
	~session()
	{
		if (up)
			edit_close(e);
		SDL_Quit();
	}

	Uint32 win() { return SDL_GetWindowID(e.win); }

	/* Key presses, each with its release, as a keyboard sends them. */
	session &key(SDL_Keycode k, Uint16 mod = KMOD_NONE, int times = 1)
	{
		for (int i = 0; i < times; i++)
			for (Uint32 t : {SDL_KEYDOWN, SDL_KEYUP}) {
				SDL_Event ev{};
				ev.type = t;
				ev.key.windowID = win();
				ev.key.state = t == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
				ev.key.keysym.sym = k;
				ev.key.keysym.mod = mod;
				SDL_PushEvent(&ev);
			}
		return pump();
	}
	session &ctrl(SDL_Keycode k) { return key(k, KMOD_LCTRL); }
	session &type(const std::string &s)
	{
		SDL_Event ev{};
		ev.type = SDL_TEXTINPUT;
		ev.text.windowID = win();
		snprintf(ev.text.text, sizeof ev.text.text, "%s", s.c_str());
		SDL_PushEvent(&ev);
		return pump();
	}
	session &button(Uint32 type, int x, int y)
	{
		SDL_Event ev{};
		ev.type = type;
		ev.button.windowID = win();
		ev.button.button = SDL_BUTTON_LEFT;
		ev.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
		ev.button.clicks = 1;
		ev.button.x = x;
		ev.button.y = y;
		SDL_PushEvent(&ev);
		return pump();
	}
	session &click(int x, int y)
	{
		button(SDL_MOUSEBUTTONDOWN, x, y);
		return button(SDL_MOUSEBUTTONUP, x, y);
	}
	session &drag(int x0, int y0, int x1, int y1)
	{
		button(SDL_MOUSEBUTTONDOWN, x0, y0);
		SDL_Event ev{};
		ev.type = SDL_MOUSEMOTION;
		ev.motion.windowID = win();
		ev.motion.state = SDL_BUTTON_LMASK;
		ev.motion.x = x1;
		ev.motion.y = y1;
		SDL_PushEvent(&ev);
		pump();
		return button(SDL_MOUSEBUTTONUP, x1, y1);
	}
	session &wheel(int y)
	{
		SDL_Event ev{};
		ev.type = SDL_MOUSEWHEEL;
		ev.wheel.windowID = win();
		ev.wheel.y = y;
		SDL_PushEvent(&ev);
		return pump();
	}
	/* A window event: closing or resizing. */
	session &window(Uint8 what)
	{
		SDL_Event ev{};
		ev.type = SDL_WINDOWEVENT;
		ev.window.windowID = win();
		ev.window.event = what;
		SDL_PushEvent(&ev);
		return pump();
	}
	session &pump()
	{
		edit_pump(e);
		return *this;
	}

	std::string text() const { return std::string(e.f.text, e.len); }
	bool quit() const { return e.quit; }
	/* The pixel of the window at x, y, as 0xRRGGBB. */
	uint32_t pixel(int x, int y)
	{
		SDL_Surface *s = SDL_GetWindowSurface(e.win);
		Uint32 v = ((Uint32 *)((char *)s->pixels + y * s->pitch))[x];
		Uint8 r, g, b;
		SDL_GetRGB(v, s->format, &r, &g, &b);
		return (uint32_t)r << 16 | g << 8 | b;
	}
};

#endif
