/* Compiled as C: the header must be C too, and the record must have the
   same layout on both sides. */
#include <stddef.h>

#include "editbuf/editbuf.h"

const size_t ed_c_layout[4] = {
	sizeof(ed_file),
	offsetof(ed_file, path),
	offsetof(ed_file, text),
	offsetof(ed_file, cap),
};
