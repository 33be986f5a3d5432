/* Standard output captured: file descriptor 1, whether written through
   stdio or not. */
#ifndef ORV_TESTS_SUPPORT_CAPTURE_H
#define ORV_TESTS_SUPPORT_CAPTURE_H

#include <stdio.h>

#include <string>

/* Sends standard output to a temporary file while alive. */
class stdout_capture {
public:
	stdout_capture();
	~stdout_capture();
	stdout_capture(const stdout_capture &) = delete;
	stdout_capture &operator=(const stdout_capture &) = delete;

	/* All that was written so far. */
	std::string str();

private:
	FILE *tmp;
	int saved;
};

/* Everything that f writes to standard output. */
template <class F> std::string capture(F f)
{
	stdout_capture c;
	f();
	return c.str();
}

#endif
