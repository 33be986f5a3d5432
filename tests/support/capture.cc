/* Standard output sent to a temporary file and read back. */
#include "tests/support/capture.h"

#include <stdlib.h>
#include <unistd.h>

stdout_capture::stdout_capture()
{
	fflush(stdout);
	tmp = tmpfile();
	if (!tmp)
		abort();
	saved = dup(1);
	dup2(fileno(tmp), 1);
}

stdout_capture::~stdout_capture()
{
	fflush(stdout);
	dup2(saved, 1);
	close(saved);
	fclose(tmp);
}

std::string stdout_capture::str()
{
	std::string s;
	char b[4096];
	ssize_t n;

	fflush(stdout);
	for (off_t at = 0; (n = pread(fileno(tmp), b, sizeof b, at)) > 0; at += n)
		s.append(b, (size_t)n);
	return s;
}
