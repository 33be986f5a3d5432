/* The one failure report of the drawing code. */
#ifndef ORV_TEXTVIEW_FAIL_H
#define ORV_TEXTVIEW_FAIL_H

/* Prints "SDL_<op> failed: <SDL error>" and asks the host to quit. */
void sdlfail(const char *op);

#endif
