/* The square of x, as the geometry routines use it. */
#ifndef ORV_GEOM_SQ_H
#define ORV_GEOM_SQ_H

/* The correctly rounded product x*x, the value pow(x, 2.0) stands for.
   Compilers fold pow(x, 2.0) into this product when they optimise, but
   libm's pow called at run time is only accurate to about half an ulp:
   glibc's misses the product for about one argument in a thousand, and
   differently per target.  So the product is written out. */
static inline double sq(double x)
{
	return x * x;
}

#endif
