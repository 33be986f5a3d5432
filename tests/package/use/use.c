/* A C program built against the installed libraries: calls into each of
   them and prints "use: ok" when every result is the one expected. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "geom/geom.h"
#include "editbuf/editbuf.h"
#include "textview/textview.h"
#include "textview/host.h"

static int bad;

static void check(int ok, const char *what)
{
	if (!ok) {
		printf("use: wrong: %s\n", what);
		bad = 1;
	}
}

static void geometry(void)
{
	point a, b;

	set_p(&a, 0, 0);
	set_p(&b, 3, 4);
	check(segment(&a, &b) == 5.0, "segment((0,0), (3,4))");
	check(sqrt2b(0.25) == 0.5, "sqrt2b(0.25)");
}

static void buffer(const char *path)
{
	FILE *f = fopen(path, "w");
	ed_file e = {(char *)path, NULL, 0};

	if (!f || fputs("held", f) < 0 || fclose(f) != 0) {
		check(0, "writing the file to load");
		return;
	}
	read_file(&e, 10);
	check(e.text && strcmp(e.text, "held") == 0 && e.cap == 15, "read_file");
	/* st is the library's record: this C build must agree on its layout. */
	check(st.st_size == 4, "st after read_file");
	if (!e.text)
		return;
	ed_insert(&e, "XY", 2);
	check(strcmp(e.text, "heXYld") == 0, "ed_insert");
	ed_delete(&e, 3, 0);
	check(strcmp(e.text, "Yld") == 0, "ed_delete");
	free(e.text);
	remove(path);
}

static Uint32 pixel(SDL_Surface *s, int x, int y)
{
	return ((Uint32 *)s->pixels)[y * s->pitch / 4 + x];
}

/* "Hi" on 12x20 cells of a white 64x24 surface, and a red square at its
   right edge drawn through a software renderer. */
static void text(void)
{
	SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, 64, 24, 32,
		SDL_PIXELFORMAT_ARGB8888);
	int none = -1, ink = 0, stray = 0;

	check(strcmp(itostr(110, 10), "XX") == 0, "itostr(110, 10)");
	check(strtol1("1X", NULL, 10) == 20, "strtol1(\"1X\", 10)");
	if (!s || !(renderer = SDL_CreateSoftwareRenderer(s))) {
		check(0, SDL_GetError());
		return;
	}
	SDL_FillRect(s, NULL, 0xFFFFFFFF);
	qrect(60, 20, 4, 4, 65535);
	SDL_RenderFlush(renderer);
	check(pixel(s, 62, 22) == 0xFFFF0000, "qrect in opaque red");

	winsurf1 = s;
	fwin.bottom = 24;
	check(rendertext(0, 1, "Hi", 0, 0, 12, 20, 64, NULL, 0, 0, 0,
		NULL, NULL, &none, &none) == 20, "rendertext's bottom");
	for (int y = 0; y < 20; y++)
		for (int x = 0; x < 56; x++) {
			if ((pixel(s, x, y) & 0xFF) >= 0x80)
				continue;
			if (x < 24)
				ink++;
			else
				stray++;
		}
	check(ink > 0 && stray == 0, "ink in the cells of \"Hi\" alone");
	check(fontcache(20, 0)->font != NULL, "fontcache");

	SDL_DestroyRenderer(renderer);
	renderer = NULL;
	winsurf1 = NULL;
	SDL_FreeSurface(s);
}

int main(int argc, char **argv)
{
	geometry();
	buffer(argc > 1 ? argv[1] : "use-buffer.txt");
	text();
	if (!bad)
		printf("use: ok\n");
	return bad;
}
