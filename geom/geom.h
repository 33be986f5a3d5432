/* geomlib: plane geometry on arithmetic of its own.

   Angles are in a unit where 1.0 is 100 degrees: 0.9 is a right angle,
   3.6 a full turn.  Every result is fixed to the last bit: each routine
   performs its double operations in one fixed order, with no fused
   multiply-add, so all targets agree.  No routine reports an error.

   Not reentrant: sqrt1_, cos1 (and so sin1, vect), curve_init and
   curve2 work in static storage. */
#ifndef ORV_GEOM_GEOM_H
#define ORV_GEOM_GEOM_H

#include "geom/point.h"

#ifdef __cplusplus
extern "C" {
#endif

/* square roots, quadratic, sign */
double sqrt1_(double v, double n);
double sqrt2(double x);
double sqrt2b(double x);
double quad(double a, double b, double c, double k);
double sgn(double x);

/* angles and trigonometry */
double bound(double x);
double bound_a(double x);
double tan0(double x);
double cos1_0(double x);
double cos1(double x);
double sin1(double x);
double atan0(double t);
double aatan(double dx, double dy);

/* points, segments and the corner curve */
point *set_p(point *d, double x, double y);
point *copy_p(point *d, const point *src);
point *add_p(point *d, const point *a, const point *b);
point *vect(point *d, double len, double ang);
double segment(const point *a, const point *b);
double angle(const point *a, const point *o, const point *b);
void curve_init(const point *a, const point *b, const point *c);
point *curve2(double t);

#ifdef __cplusplus
}
#endif

#endif
