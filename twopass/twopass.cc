/* twopass: runs a compiler twice, first to preprocess the source into
   "twopasstmp.c", then to compile that file as already preprocessed.
   Usage: twopass COMPILER [ARGUMENT ...] */
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "util/util.h"

static const char TMP[] = "twopasstmp.c";

static char **cmd;	/* the command being built; words are not copied */
static int ncmd;

static void add(const char *w)
{
	const char *l[2] = { w, NULL };

	cmd = (char **)listp_((void **)cmd, &ncmd, (void **)l);
}

/* Prints the command, runs it and waits for it.  The result is the
   child's exit status, 128 + the signal that killed it, or 1 when no
   child could be started. */
static int run(void)
{
	pid_t pid;
	int st;

	pargs(cmd);
	printf("\n");
	fflush(stdout);	/* before fork, or the child would own a copy */
	pid = fork();
	if (pid == 0) {
		execvp(cmd[0], cmd);
		/* Like a shell: 127 when the command could not be run. */
		fprintf(stderr, "twopass: cannot run %s: %s\n", cmd[0],
			strerror(errno));
		_exit(127);
	}
	if (pid < 0)
		return 1;
	while (waitpid(pid, &st, 0) < 0)
		if (errno != EINTR)
			return 1;
	if (WIFEXITED(st))
		return WEXITSTATUS(st);
	if (WIFSIGNALED(st))
		return 128 + WTERMSIG(st);
	return 1;
}

/* The compiler with "-E" after its name and its output sent to TMP in
   place of the user's. */
static void preprocess(int argc, char **argv)
{
	static const char *const out[3] = { "-o", TMP, NULL };
	int valnext = 0, seen = 0;

	for (int i = 1; i < argc; i++) {
		if (valnext) {
			valnext = 0;
			add(TMP);
			continue;
		}
		if (strcmp(argv[i], "-o") == 0)
			valnext = seen = 1;
		if (i == 2)
			add("-E");
		add(argv[i]);
	}
	if (!seen)
		cmd = (char **)listp_((void **)cmd, &ncmd, (void **)out);
}

/* The user's command with its first word that is no option (after the
   compiler) replaced by TMP, and "-fpreprocessed" at the end.  The word
   after an "-o" names the output, never the source; an "-o" that is
   itself that word names the output "-o", as the compiler reads it, and
   takes no word after it. */
static void compile(int argc, char **argv)
{
	int replaced = 0, outnext = 0;

	cmd[0] = NULL;
	ncmd = 0;
	for (int i = 1; i < argc; i++) {
		if (replaced || outnext || argv[i][0] == '-' || i == 1) {
			add(argv[i]);
		} else {
			add(TMP);
			replaced = 1;
		}
		outnext = !outnext && strcmp(argv[i], "-o") == 0;
	}
	add("-fpreprocessed");
}

/* The first pass writes TMP wherever a symbolic link of that name
   points: into a user's file, or in a shared folder into someone
   else's.  Such a link stops the run before any compiler starts. */
static int tmp_is_link(void)
{
	struct stat s;

	if (lstat(TMP, &s) != 0 || !S_ISLNK(s.st_mode))
		return 0;
	fprintf(stderr, "twopass: %s is a symbolic link; not writing through it\n",
		TMP);
	return 1;
}

/* The compile runs even when preprocessing failed; the status is that
   of the first run that did not succeed. */
int main(int argc, char **argv)
{
	int s1, s2;

	if (tmp_is_link())
		return 2;
	preprocess(argc, argv);
	s1 = run();
	compile(argc, argv);
	s2 = run();
	return s1 ? s1 : s2;
}
