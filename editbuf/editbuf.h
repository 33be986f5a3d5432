/* An editor's text buffer: one file held as one NUL-terminated string
   in a single heap block, with insert and delete at byte positions. */
#ifndef ORV_EDITBUF_EDITBUF_H
#define ORV_EDITBUF_EDITBUF_H

#include <stdint.h>
#include <sys/stat.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The host may keep more fields after these three. */
typedef struct ed_file {
	char *path;	/* file to load; the host's, never changed here */
	char *text;	/* the text, or null before the first load */
	int32_t cap;	/* size of the text block, terminator included */
} ed_file;

/* Status of the file that read_file looked at last. */
extern struct stat st;

void read_file(ed_file *f, int extra);
void extend_file(ed_file *f, int extra);
void ed_insert(ed_file *f, const char *s, int pos);
void ed_delete(ed_file *f, int count, int pos);

#ifdef __cplusplus
}
#endif

#endif
