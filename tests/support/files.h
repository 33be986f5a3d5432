/* Files for tests: a scratch folder that goes with its scope, and whole
   files read and written as bytes. */
#ifndef ORV_TESTS_SUPPORT_FILES_H
#define ORV_TESTS_SUPPORT_FILES_H

#include <sys/types.h>

#include <string>

/* A fresh folder under TMPDIR, or under the folder given.  Every user
   may enter it, so that a test's unprivileged child reaches its files;
   it goes with all it holds, folders a test made read-only included. */
struct tmpdir {
	std::string path;

	tmpdir();
	explicit tmpdir(const std::string &under);
	~tmpdir();
	tmpdir(const tmpdir &) = delete;
	tmpdir &operator=(const tmpdir &) = delete;

	std::string operator/(const std::string &name) const { return path + "/" + name; }
};

/* The bytes of a file; empty when it cannot be read. */
std::string readfile(const std::string &path);

/* Writes a file anew with these bytes and this mode. */
void writefile(const std::string &path, const std::string &bytes, mode_t mode = 0644);

#endif
