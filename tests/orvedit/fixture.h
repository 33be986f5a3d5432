/* The editor in-process on SDL's offscreen video driver: events go in
   through SDL's queue as a window system would send them, files are
   read back byte for byte.  Also what the cases that change limits or
   users need: a child process as an unprivileged user. */
#ifndef ORV_TESTS_ORVEDIT_FIXTURE_H
#define ORV_TESTS_ORVEDIT_FIXTURE_H

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "orvedit/edit.h"
#include "tests/support/files.h"
#include "tests/support/proc.h"

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

inline mode_t mode_of(const std::string &path)
{
	struct stat s;
	return lstat(path.c_str(), &s) == 0 ? s.st_mode : 0;
}

/* Runs fn in a child process as the unprivileged user 65534 when the
   tests run as root, whom permissions do not bind. */
inline std::string as_nobody(const std::function<std::string()> &fn)
{
	return in_child([&] {
		if (geteuid() == 0 && (setgroups(0, nullptr) != 0 ||
		    setgid(65534) != 0 || setuid(65534) != 0))
			return std::string("cannot become user 65534");
		return fn();
	});
}

/* Gives the unprivileged user of as_nobody a path, when running as root. */
inline void give(const std::string &path)
{
	if (geteuid() == 0 && lchown(path.c_str(), 65534, 65534) != 0)
		ADD_FAILURE() << "chown " << path;
}

/* SDL's video, ended after what was made with it. */
struct video {
	~video() { SDL_Quit(); }
};

/* The recovery files of every case go to a scratch state folder, never
   to the user's. */
inline const std::string &state_home()
{
	static tmpdir d;
	setenv("XDG_STATE_HOME", d.path.c_str(), 1);
	return d.path;
}

/* One editor on the offscreen driver.  Usable in a child process too:
   nothing here needs the test framework. */
class session {
	video sdl;
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
		state_home();
		edit_opts o;
		o.plugin = plugin;
		o.rec_delay = rec_delay;
		o.disk_every = disk_every;
		o.tabs = tabs;
		std::string err;
		up = edit_open(e, path.c_str(), o, err);
		if (up)
			edit_pump(e);
		return up;
	}
	/* Timed work only when a case asks for it: a slow machine must
	   not bring a question into a case that does not expect it. */
	Uint32 rec_delay = 3600000, disk_every = 3600000;

	Uint32 win() { return SDL_GetWindowID(e.win); }

	/* Key presses, each with its release, as a keyboard sends them: the
	   modifiers pressed first and released last, every event carrying
	   the modifiers held at its time. */
	session &key(SDL_Keycode k, Uint16 mod = KMOD_NONE, int times = 1)
	{
		for (int i = 0; i < times; i++)
			queue_key(k, mod);
		return pump();
	}
	void keyevent(Uint32 type, SDL_Keycode k, Uint16 mod)
	{
		SDL_Event ev{};
		ev.type = type;
		ev.key.windowID = win();
		ev.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
		ev.key.keysym.sym = k;
		ev.key.keysym.mod = mod;
		SDL_PushEvent(&ev);
	}
	/* One chord in the queue, not handled yet. */
	void queue_key(SDL_Keycode k, Uint16 mod)
	{
		static const std::pair<Uint16, SDL_Keycode> mods[] = {
			{KMOD_LCTRL, SDLK_LCTRL}, {KMOD_RCTRL, SDLK_RCTRL},
			{KMOD_LSHIFT, SDLK_LSHIFT}, {KMOD_RSHIFT, SDLK_RSHIFT},
			{KMOD_LALT, SDLK_LALT}, {KMOD_RALT, SDLK_RALT}};
		Uint16 held = 0;
		for (auto [m, code] : mods)
			if (mod & m)
				keyevent(SDL_KEYDOWN, code, held |= m);
		keyevent(SDL_KEYDOWN, k, mod);
		keyevent(SDL_KEYUP, k, mod);
		for (auto [m, code] : mods)
			if (mod & m)
				keyevent(SDL_KEYUP, code, held &= ~m);
	}
	/* Typed text in the queue, with the key events around it. */
	void queue_text(const std::string &s, Uint16 mod = 0)
	{
		keyevent(SDL_KEYDOWN, SDLK_UNKNOWN, mod);
		SDL_Event ev{};
		ev.type = SDL_TEXTINPUT;
		ev.text.windowID = win();
		snprintf(ev.text.text, sizeof ev.text.text, "%s", s.c_str());
		SDL_PushEvent(&ev);
		keyevent(SDL_KEYUP, SDLK_UNKNOWN, mod);
	}
	session &ctrl(SDL_Keycode k) { return key(k, KMOD_LCTRL); }
	session &type(const std::string &s)
	{
		SDL_Event ev{};
		ev.type = SDL_TEXTINPUT;
		ev.text.windowID = win();
		snprintf(ev.text.text, sizeof ev.text.text, "%s", s.c_str());
		return send(ev);
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
		return send(ev);
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
		send(ev);
		return button(SDL_MOUSEBUTTONUP, x1, y1);
	}
	session &wheel(int y) { return toward(SDL_MOUSEWHEEL, y); }
	/* A window event: closing or resizing. */
	session &window(Uint8 what) { return toward(SDL_WINDOWEVENT, what); }
	/* A wheel turn by arg, or the window event arg, for the window. */
	session &toward(Uint32 type, int arg)
	{
		SDL_Event ev{};
		ev.type = type;
		if (type == SDL_MOUSEWHEEL) {
			ev.wheel.windowID = win();
			ev.wheel.y = arg;
		} else {
			ev.window.windowID = win();
			ev.window.event = (Uint8)arg;
		}
		return send(ev);
	}
	/* One event, as the window system would queue it. */
	session &send(SDL_Event ev)
	{
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

/* Whether the cursor's row is wholly in the window. */
inline void cursor_shown(session &s)
{
	bar b = locate(s.e, s.e.cur);
	ASSERT_TRUE(b.ok) << "cursor " << s.e.cur << ", top " << s.e.top;
	EXPECT_GE(b.y, 0);
	EXPECT_LE(b.y + geometry(s.e).lh, text_bottom(s.e));
}

/* A case with a scratch folder and an editor. */
class Editing : public ::testing::Test {
protected:
	tmpdir dir;
	session s;

	/* A file of the scratch folder with these bytes. */
	std::string file(const std::string &bytes, const char *name = "f.txt")
	{
		std::string p = dir / name;
		writefile(p, bytes);
		return p;
	}
};

#endif
