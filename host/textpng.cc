/* textpng: lays out a text file with rendertext and saves the window
   surface as a PNG image. */
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <unistd.h>

#include <SDL_image.h>

#include "textview/textview.h"
#include "textview/host.h"

static void usage()
{
	fputs("usage: textpng [options] text-file image.png\n"
		"  -s WxH    window size in pixels (640x400)\n"
		"  -c WxH    cell width and glyph height (10x18)\n"
		"  -x X      start x (4)\n"
		"  -y Y      start y, negative to scroll (4)\n"
		"  -w N      width of the text area (window width - 2 * start x)\n"
		"  -t A,B..  tab stops, percentages of the width\n"
		"  -f N      flags: 1 no line numbers, 2 space after tall rows\n"
		"  -p N      cursor position; given twice, two half bars\n"
		"  -q X,Y    print the text position found at X,Y\n", stderr);
	exit(1);
}

static char *slurp(const char *path)
{
	FILE *f = fopen(path, "rb");
	if (!f) {
		perror(path);
		exit(1);
	}
	std::vector<char> b;
	char chunk[4096];
	size_t n;
	while ((n = fread(chunk, 1, sizeof chunk, f)) > 0)
		b.insert(b.end(), chunk, chunk + n);
	fclose(f);
	char *t = (char *)malloc(b.size() + 1);
	memcpy(t, b.data(), b.size());
	t[b.size()] = 0;
	return t;
}

int main(int argc, char **argv)
{
	int ww = 640, wh = 400, gw = 10, gh = 18, x = 4, y = 4, width = -1;
	int flags = 0, npos = 0, pos[2] = {-1, -1};
	std::vector<int32_t> tabs;
	point q = {0, 0}, *qp = nullptr;
	int opt;

	while ((opt = getopt(argc, argv, "s:c:x:y:w:t:f:p:q:")) != -1) {
		switch (opt) {
		case 's': if (sscanf(optarg, "%dx%d", &ww, &wh) != 2) usage(); break;
		case 'c': if (sscanf(optarg, "%dx%d", &gw, &gh) != 2) usage(); break;
		case 'x': x = atoi(optarg); break;
		case 'y': y = atoi(optarg); break;
		case 'w': width = atoi(optarg); break;
		case 'f': flags = atoi(optarg); break;
		case 'p':
			if (npos == 2)
				usage();
			pos[npos++] = atoi(optarg);
			break;
		case 'q':
			if (sscanf(optarg, "%lf,%lf", &q.x, &q.y) != 2)
				usage();
			qp = &q;
			break;
		case 't':
			for (char *s = strtok(optarg, ","); s; s = strtok(nullptr, ","))
				tabs.push_back(atoi(s));
			break;
		default: usage();
		}
	}
	if (argc - optind != 2 || ww < 1 || wh < 1)
		usage();
	if (width < 0)
		width = ww - 2 * x;
	if (npos == 1)
		pos[1] = pos[0];    /* equal slots: one full-height bar */
	char *text = slurp(argv[optind]);

	winsurf1 = SDL_CreateRGBSurfaceWithFormat(0, ww, wh, 32,
		SDL_PIXELFORMAT_ARGB8888);
	if (!winsurf1) {
		printf("SDL_CreateRGBSurface failed: %s\n", SDL_GetError());
		return 2;
	}
	SDL_FillRect(winsurf1, nullptr, 0xFFFFFFFF);
	renderer = SDL_CreateSoftwareRenderer(winsurf1);
	fwin.bottom = wh;

	/* A faint line at the right end of the text area shows the limit
	   that wrapping keeps to. */
	qrect(x + width, 0, 1, wh, 0xDDDDDDFFu);
	int end = rendertext(0, (char)flags, text, x, y, (int16_t)gw,
		(int16_t)gh, (int16_t)width, tabs.data(), (int)tabs.size(), 0, 0,
		qp, nullptr, &pos[0], &pos[1]);
	if (IMG_SavePNG(winsurf1, argv[optind + 1]) < 0) {
		printf("IMG_SavePNG failed: %s\n", SDL_GetError());
		return 2;
	}
	SDL_DestroyRenderer(renderer);
	SDL_FreeSurface(winsurf1);
	free(text);
	/* Last, so that a run that prints it has done everything else. */
	printf("bottom %d\n", end);
	if (qp)
		printf("hit %d\n", pos[0]);
	return 0;
}
