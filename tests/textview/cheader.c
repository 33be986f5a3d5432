/* The public headers are C headers too: this file only has to compile. */
#include "textview/textview.h"
#include "textview/host.h"

int textview_c_check(void);

int textview_c_check(void)
{
	char *(*num)(int64_t, int64_t) = itostr;
	font_entry *(*cache)(int, char) = fontcache;
	point q = {1.0, 2.0};
	return num != 0 && cache != 0 && q.x < q.y && fwin.bottom >= 0;
}
