// The results page: banner, graph with axes, graduations, points and curve, and the result text.
#pragma once

#include "fitdata/fit_data.h"
#include "plot/my_cdc.h"

// Draws the whole page into the rectangle: the banner at the bottom centre, and when the data
// has points, the graph and the result text. f scales every fixed length (ticks, markers, text
// sizes, label offsets, the banner): 1 on the screen, 2 in the 2000 x 1333 bitmap. Runs the
// automatic scale first when the data's scale asks for it.
void DrawResultsPage(int left, int right, int top, int bottom, FitData* data, CMyCDC* dc, int f);

// The graph whose plot area is L..R by T..B: axes, graduations with their numbers in units of
// the step's power of ten, axis titles, the grid crosses, the points and the curve. Nothing
// without points.
void DrawGraph(int L, int R, int T, int B, FitData* data, CMyCDC* dc, int f);

// The formula, the coefficients in two rows of three and, after a fit, the distance. Nothing
// while no function is compiled.
void DrawResultText(int l, int t, int r, int b, const FitData* data, CMyCDC* dc, int f);

// An upright cross of half-size 4f on every point whose position lies in the frame Xl..Xr by
// Yt..Yb, edges included. A coordinate that is no finite number, or whose position does not fit
// an int, counts as outside.
void DrawPoints(int Xl, int Yt, int Xr, int Yb, const FitData* data, CMyCDC* dc, int f, double xMin,
                double yMin, double pxPerX, double pxPerY);

// The compiled function, one evaluation per pixel column of the frame. The pen lifts wherever
// the function has no value or leaves the frame; the first column after a break only moves.
void DrawCurve(int Xl, int Yt, int Xr, int Yb, const FitData* data, CMyCDC* dc, double xMin,
               double yMin, double pxPerX, double pxPerY);
