/* Opening and closing an editor: the window, the plug-in, the file. */
#include <cstdlib>
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

bool edit_open(editor &e, const char *path, const edit_opts &o,
	std::string &err)
{
	e = editor{};
	e.name = path;
	e.f.path = e.name.data();
	e.anchor = -1;
	e.goal_x = -1;
	e.saved = 0;
	e.tabs = o.tabs;
	e.clip_max = o.clip_max;
	struct stat s;
	if (stat(path, &s) == 0 && S_ISDIR(s.st_mode)) {
		err = e.name + ": is a directory";
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
	e.probe = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32,
		SDL_PIXELFORMAT_ARGB8888);
	catch_signals();
	catch_int();
	load(e);
	if (o.line > 0)
		go_to(e, o.line, o.col);
	if (e.ro)
		e.notice = e.name + " is read-only: " + e.ro_why;
	e.follow = true;
	set_title(e);
	SDL_StartTextInput();
	return true;
}

void edit_close(editor &e)
{
	free(e.f.text);
	e.f.text = nullptr;
	if (e.status)
		SDL_FreeSurface(e.status);
	if (e.probe)
		SDL_FreeSurface(e.probe);
	if (e.win)
		SDL_DestroyWindow(e.win);
	if (e.plug)
		dlclose(e.plug);
	e.status = e.probe = nullptr;
	e.win = nullptr;
	e.plug = nullptr;
	e.plot = nullptr;
}
