#pragma once

// One measurement as the graph and the fits take it.
struct Point {
    double x;
    double y;
};
