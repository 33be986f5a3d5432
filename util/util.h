/* Lists, length-prefixed arrays and heap strings, shared by orvcalc
   and twopass.

   A pointer list is an array of pointer-sized slots ended by a slot
   holding 0.  A length-prefixed array is a heap block of one int (the
   data length in bytes) followed by the data; callers hold a handle to
   the first data byte, and a null handle is the empty array.  A heap
   string is a NUL-terminated text in a block grown by realloc; the
   routines that append accept null as the empty string.

   singlequote, tostr, dex_1 and strread_until return storage of their
   own (out1, str, a slot of stra, srbuf) that a later call replaces:
   callers copy what they keep.  Nothing here is reentrant. */
#ifndef ORV_UTIL_UTIL_H
#define ORV_UTIL_UTIL_H

#ifdef __cplusplus
extern "C" {
#endif

/* pointer lists */
int listlen(void **l);
void **listcopy(void **dst, void **src);
void **listncopy(void **dst, void **src, int n);
void **listnmove(void **dst, void **src, int n);
char **strlistfind(char **l, const char *s);
int strlistfind_off(char **l, const char *s);
int strlistcount(char **l, const char *s);
void listremove(void **slot);
void **listp_1(void **l, int *len, void **src);
void **listp_(void **l, int *len, void **src);
void **nlistp_(void **l, int *len, void **src, int n);
void pargs(char **l);

/* length-prefixed arrays */
void *arralloc(int n);
int arrfree(void *a);
void *arrrealloc(void *a, int n);
void *arrp_(void *a, const void *src, int len, char replace);

/* strings */
int strchr_off(const char *s, int c);
char *strp_(char *s, char **l, char replace);
char *strp_c(char *s, char c);
int strread_until(const char **cur, const char *delims);
char *squeeze(char *s);
char *trim(char *s);
char *singlequote(const char *s);
char *tostr(int n);
char *dex_1(const char *s, int slot);

extern char *srbuf;	/* text read by strread_until */
extern char *out1;	/* result of singlequote */
extern char *str;	/* result of tostr */
extern char **stra;	/* slots of dex_1 */
extern int len_stra;	/* number of slots in stra */

#ifdef __cplusplus
}
#endif

#endif
