/* The object table: names bound to definition texts, and the index that
   a program may put beside it. */
#include <string.h>

#include "interp/interp.h"

pagerec page[NPAGE];
int len_page;

/* The index: open addressing over the names' hashes, never a third
   full, each slot an entry of the table plus one (0 is free).  Names
   are never unbound, so a slot is never freed. */
#define NSLOT 32768

static_assert(NSLOT >= 3 * NPAGE && (NSLOT & (NSLOT - 1)) == 0, "a sparse power of two");
static int slot[NSLOT];
static int indexed;

static unsigned hash(const char *s)
{
	unsigned h = 2166136261u;	/* FNV-1a */

	for (; *s; s++)
		h = (h ^ (unsigned char)*s) * 16777619u;
	return h;
}

/* The slot of name: the one holding its entry, or the free one where
   it would go. */
static int *slotof(const char *name)
{
	unsigned i = hash(name) & (NSLOT - 1);

	while (slot[i] && strcmp(page[slot[i] - 1].name, name) != 0)
		i = (i + 1) & (NSLOT - 1);
	return &slot[i];
}

/* A later duplicate of a name (which only a direct write to the table
   makes) is left out, so the index answers the first entry, as the
   scan does. */
void orvo_index(int on)
{
	int i, *s;

	memset(slot, 0, sizeof slot);
	indexed = on;
	if (on)
		for (i = 0; i < len_page; i++)
			if (!*(s = slotof(page[i].name)))
				*s = i + 1;
}

/* A miss is reported as len_page. */
int orvo_lookup(const char *name)
{
	int i;

	if (indexed) {
		i = *slotof(name);
		return i ? i - 1 : len_page;
	}
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
		if (indexed)
			*slotof(name) = i + 1;
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
