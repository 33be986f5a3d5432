/* Opening and closing an editor: the window, the plug-in, the file. */
#include <cstdlib>
#include <new>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "orvedit/edit.h"

std::string plugin_path(const std::string &exe)
{
	std::string dir = exe.substr(0, exe.rfind('/') + 1);
	std::string here = dir + "plotplug.so";
	if (access(here.c_str(), F_OK) == 0)
		return here;
	return dir + ORV_PLUGIN_FROM_BIN;
}

/* The state of a buffer just read from path (empty: a new one). */
static void start(editor &e, const std::string &path)
{
	set_file(e, path);
	e.anchor = -1;
	e.goal_x = -1;
	e.saved = 0;
	load(e);
	if (e.ro)
		e.notice = e.name + " is read-only: " + e.ro_why;
	e.follow = true;
	set_title(e);
	rec_offer(e);
}

bool edit_open(editor &e, const char *path, const edit_opts &o,
	std::string &err)
{
	e.tabs = o.tabs;
	e.clip_max = o.clip_max;
	e.rec_delay = o.rec_delay;
	e.disk_every = o.disk_every;
	struct stat s;
	if (*path && stat(path, &s) == 0 && S_ISDIR(s.st_mode)) {
		err = std::string(path) + ": is a directory";
		return false;
	}

	/* The plug-in takes SDL_FillRect from this process, which has
	   SDL linked already. */
	if (!o.plugin.empty()) {
		e.plug = dlopen(o.plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
		if (e.plug) {
			auto init = (void (*)())dlsym(e.plug, "init_me");
			e.plot = (void (*)(SDL_Surface *))dlsym(e.plug, "plot_g2");
			if (init && e.plot)
				init();
			else
				e.plot = nullptr;
		}
	}

	/* Closing the window is a quit request like Ctrl+Q, which may be
	   refused; SDL would follow it with a second one of its own. */
	SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
	/* The frame is drawn on the window's surface in memory: SDL need
	   not load an OpenGL driver to show it. */
	SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
	e.win = SDL_CreateWindow("orvedit", SDL_WINDOWPOS_UNDEFINED,
		SDL_WINDOWPOS_UNDEFINED, o.w, o.h,
		SDL_WINDOW_RESIZABLE | (o.hidden ? SDL_WINDOW_HIDDEN : 0));
	if (!e.win) {
		err = std::string("cannot open a window: ") + SDL_GetError();
		edit_close(e);
		return false;
	}
	SDL_SetWindowMinimumSize(e.win, 200, 100);
	catch_signals();
	catch_int();
	rec_guard(e);
	start(e, path);
	if (o.line > 0)
		go_to(e, o.line, o.col);
	SDL_StartTextInput();
	return true;
}

/* Everything of the old buffer goes, its history, questions and
   notices included: the editor is made anew around what it keeps. */
void edit_reset(editor &e, const std::string &path)
{
	SDL_Window *win = e.win;
	SDL_Surface *status = e.status;
	void *plug = e.plug;
	void (*plot)(SDL_Surface *) = e.plot;
	std::vector<int32_t> tabs = std::move(e.tabs);
	size_t clip_max = e.clip_max;
	Uint32 rec_delay = e.rec_delay, disk_every = e.disk_every;
	std::string title = std::move(e.title);
	int font_px = e.font_px;	/* the view stays as the user set it */
	bool numbers_off = e.numbers_off;

	e.win = nullptr;
	e.status = nullptr;
	e.plug = nullptr;
	e.~editor();
	new (&e) editor{};
	e.win = win;
	e.status = status;
	e.plug = plug;
	e.plot = plot;
	e.tabs = std::move(tabs);
	e.clip_max = clip_max;
	e.rec_delay = rec_delay;
	e.disk_every = disk_every;
	e.title = std::move(title);
	e.font_px = font_px;
	e.numbers_off = numbers_off;
	rec_guard(e);
	start(e, path);
}

editor::~editor()
{
	edit_close(*this);
}

void edit_close(editor &e)
{
	rec_unguard(e);
	free(e.f.text);
	e.f.text = nullptr;
	if (e.status)
		SDL_FreeSurface(e.status);
	if (e.win)
		SDL_DestroyWindow(e.win);
	if (e.plug)
		dlclose(e.plug);
	e.status = nullptr;
	e.win = nullptr;
	e.plug = nullptr;
	e.plot = nullptr;
}
