// orv's function libraries: several resident ones, opened once, then
// several general ones, opened once and again whenever their file
// changes.
#ifndef ORV_ORV_LIBS_H
#define ORV_ORV_LIBS_H

#include <string>

// Opens the library at path and adds it to the search, after those of
// its kind already added: an empty string, or what went wrong.
std::string addlib(const std::string &path, bool resident);

// The geometry library that came with this program, found from the
// program's own place (installed, or in the build folder): its path,
// or an empty string when there is none.
std::string ownlib();

// Makes the evaluator search the libraries added, and nothing else.
void uselibs();

#endif
