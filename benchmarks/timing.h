// Clocks and summaries for the benchmark.
#pragma once

#include <functional>
#include <vector>

// Seconds on the performance counter since an arbitrary start.
double Now();

// Runs prepare(t) and then, once every thread is prepared, work(t) on threads t = 0..threads-1.
// Returns the seconds from the common start until the last thread has finished its work; thread
// creation and preparation lie outside.
double TimeOnThreads(int threads, const std::function<void(int)>& prepare,
                     const std::function<void(int)>& work);

double Median(std::vector<double> values);

// The first and third quartiles: the middle half of the values lies between them.
struct Quartiles {
    double lower;
    double upper;
};
Quartiles Spread(std::vector<double> values);
