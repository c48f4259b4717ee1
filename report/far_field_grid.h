// The far-field grid of an RP card as the report lists its points: how many
// theta and phi values were loaded, and which point a theta and a phi index
// name. In a frequency loop of horizontal cuts the steps' patterns follow
// one another, one cut each.
#pragma once

#include "core/model.h"

namespace wavra {

// The number of theta and phi values of the grid, kept within what was
// loaded (a grid the points do not fill is cut back to whole rows).
int thetaCount(const Geometry& geometry, const Results& results);
int phiCount(const Geometry& geometry, const Results& results);
// The point of theta index t and phi index p (both from 1): theta varies
// fastest, (p - 1) thetaCount + t; in a frequency loop of horizontal cuts
// (sweepPatternAxis 1) the patterns follow one another, (t - 1) phiCount + p.
int pointIndex(const Geometry& geometry, const Results& results, int t, int p);
double thetaOfIndex(const Geometry& geometry, const Results& results, int t);
double phiOfIndex(const Geometry& geometry, const Results& results, int p);

// The smallest angle between two directions in degrees (0..180).
double angleBetween(double a, double b);

} // namespace wavra
