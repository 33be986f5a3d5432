/* Scratch folders and whole files. */
#include "tests/support/files.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

tmpdir::tmpdir() : tmpdir(std::filesystem::temp_directory_path().string()) {}

tmpdir::tmpdir(const std::string &under)
{
	std::string t = under + "/orvXXXXXX";
	if (!mkdtemp(t.data()))
		abort();
	path = t;
	chmod(path.c_str(), 0755);
}

/* Folders are opened to their owner on the way down, so that what a
   read-only one holds can go too. */
tmpdir::~tmpdir()
{
	nftw(path.c_str(), [](const char *p, const struct stat *, int type, FTW *) {
		if (type == FTW_D)
			chmod(p, 0700);
		return 0;
	}, 16, FTW_PHYS);
	nftw(path.c_str(), [](const char *p, const struct stat *, int, FTW *) {
		remove(p);
		return 0;
	}, 16, FTW_DEPTH | FTW_PHYS);
}

std::string readfile(const std::string &path)
{
	std::ifstream f(path, std::ios::binary);
	std::stringstream s;
	s << f.rdbuf();
	return s.str();
}

void writefile(const std::string &path, const std::string &bytes, mode_t mode)
{
	std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
	chmod(path.c_str(), mode);
}
