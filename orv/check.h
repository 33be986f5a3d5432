// The check of definitions before anything is evaluated.
#ifndef ORV_ORV_CHECK_H
#define ORV_ORV_CHECK_H

#include <string>
#include <string_view>
#include <vector>

struct fault {
	size_t col;	// column of the line, from 1
	std::string msg;
};

// A name of the language: not empty, not what a string or a number
// starts with, and no delimiter.
bool isname(std::string_view n);

// The faults of a definition that stands at column col of its line, in
// the order of their columns; none when the scanner reads it as meant.
std::vector<fault> check(const std::string &def, size_t col);

#endif
