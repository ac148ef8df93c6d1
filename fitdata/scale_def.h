// The graph scale: limits and graduations of the results page's axes.
#pragma once

#include <cstdint>

// The record and its arithmetic (fitdata/scale_def.cpp), which draws nothing: the results page and
// the scale dialog use both.
struct ScaleDef {
    int32_t autoScale = 0;  // nonzero: limits recomputed from the points before every drawing
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    double xMantissa = 0.0;  // graduation mantissa: 1, 2, 2.5 or 5
    double yMantissa = 0.0;
    double xPower = 0.0;  // 10 raised to xExponent
    double yPower = 0.0;
    double xStep = 0.0;  // mantissa * power
    double yStep = 0.0;
    int32_t xExponent = 0;
    int32_t yExponent = 0;

    // Does nothing when autoScale is 0 or n is 0; otherwise sets the limits from the n points with
    // margins and calls RoundToNiceSteps.
    void FitToPoints(int n, const double* x, const double* y);

    // Computes the graduations (7 divisions on X, 4 on Y) from the four limits and replaces the
    // limits by the graduated ones.
    void RoundToNiceSteps();
};
