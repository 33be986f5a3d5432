/* The plane point shared by the geometry library and the text layout. */
#ifndef ORV_GEOM_POINT_H
#define ORV_GEOM_POINT_H

typedef struct point {
	double x;
	double y;
} point;

#endif
