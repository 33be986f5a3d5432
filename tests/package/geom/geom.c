/* Links geomlib and editbuf without SDL: prints "geom: ok" when a
   distance and an empty load come out right. */
#include <stdio.h>
#include <stdlib.h>

#include "geom/geom.h"
#include "editbuf/editbuf.h"

int main(void)
{
	point a, b;
	ed_file f = {"/nonexistent/orv-geom", NULL, 0};

	set_p(&a, 0, 0);
	set_p(&b, 6, 8);
	read_file(&f, 3);
	if (segment(&a, &b) != 10.0 || !f.text || f.text[0] || f.cap != 4) {
		printf("geom: wrong\n");
		return 1;
	}
	free(f.text);
	printf("geom: ok\n");
	return 0;
}
