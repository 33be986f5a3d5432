// The figure of what orv prints, written as an SVG 1.1 drawing.
#ifndef ORV_ORV_SVG_H
#define ORV_ORV_SVG_H

#include <string>

#include "interp/interp.h"

// Starts watching the evaluation for the figure: the objects used and
// the calls of Segment and Curve.
void figstart();

// A printed object, which belongs to the figure as well.
void figobject(const char *name, value v);

// Writes the figure to path: an empty string, or what went wrong.
std::string figwrite(const std::string &path);

#endif
