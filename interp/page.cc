/* The object table: names bound to definition texts. */
#include <string.h>

#include "interp/interp.h"

pagerec page[NPAGE];
int len_page;

/* A miss is reported as len_page. */
int orvo_lookup(const char *name)
{
	int i;

	for (i = 0; i < len_page; i++)
		if (strcmp(page[i].name, name) == 0)
			break;
	return i;
}

/* A new name takes the next free entry; a full table takes no more and
   answers -1, leaving every entry as it was. */
int orvo_set(const char *name, const char *def, char flag)
{
	int i = orvo_lookup(name);

	(void)flag;
	if (i == len_page) {
		if (len_page == NPAGE)
			return -1;
		len_page++;
	}
	page[i].name = name;
	page[i].def = def;
	return i;
}

/* Parameters are not bound: no name denotes an argument. */
int args_lookup(const char *name)
{
	(void)name;
	return -1;
}
