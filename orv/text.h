// A value written in the language, as orv prints it.
#ifndef ORV_ORV_TEXT_H
#define ORV_ORV_TEXT_H

#include <string>

#include "interp/interp.h"

// Appends the text of v to out: evaluating that text gives v again,
// with two exceptions.  A list of one item, which only a library can
// make, is written in braces all the same ({5} reads as 5), and a
// string that the scanner would not give back byte for byte is written
// escaped, @"..." (see plain in text.cc).
void writevalue(std::string &out, value v);

#endif
