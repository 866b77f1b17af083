#include "swfplayer/main/geometry/tri_predicates.h"

#include <cmath>

namespace swfplayer {
namespace triangulate {

namespace {

// a + b as an exact unevaluated pair: hi is the rounded sum, lo its rounding error.
inline void two_sum(double a, double b, double* hi, double* lo) {
    double sum = a + b;
    double b_virtual = sum - a;
    double a_virtual = sum - b_virtual;
    *lo = (a - a_virtual) + (b - b_virtual);
    *hi = sum;
}

// Adds one value to a nonoverlapping expansion kept in increasing magnitude, dropping zeros.
// The exact sum is unchanged, so the sign of the expansion is the sign of its last element.
inline void grow_expansion(double* terms, int* count, double value) {
    int kept = 0;
    double carry = value;
    for (int i = 0; i < *count; i++) {
        double hi;
        double lo;
        two_sum(carry, terms[i], &hi, &lo);
        carry = hi;
        if (lo != 0.0) {
            terms[kept++] = lo;
        }
    }
    if (carry != 0.0) {
        terms[kept++] = carry;
    }
    *count = kept;
}

}  // namespace

// Every input is a float, so each difference is an exact pair of doubles and every product of
// two such parts is an exact pair through a fused multiply-add: the sixteen resulting terms sum
// to L exactly, with no overflow or underflow possible.
int left_sign_exact(float ax, float ay, float bx, float by, float cx, float cy) {
    double d[4][2];
    const double from[4][2] = {{bx, ax}, {cy, ay}, {cx, ax}, {by, ay}};
    for (int i = 0; i < 4; i++) {
        two_sum(from[i][0], -from[i][1], &d[i][0], &d[i][1]);
    }
    double terms[16];
    int count = 0;
    for (int pair = 0; pair < 2; pair++) {
        const double* u = d[pair * 2];
        const double* v = d[pair * 2 + 1];
        double sign = pair == 0 ? 1.0 : -1.0;
        for (int i = 0; i < 2; i++) {
            for (int j = 0; j < 2; j++) {
                double product = u[i] * v[j];
                double error = std::fma(u[i], v[j], -product);
                grow_expansion(terms, &count, sign * product);
                grow_expansion(terms, &count, sign * error);
            }
        }
    }
    if (count == 0) {
        return 0;
    }
    return terms[count - 1] > 0.0 ? 1 : -1;
}

int vertex_order(float ux, float uy, float vx, float vy) {
    if (ux < vx || (ux == vx && uy < vy)) {
        return -1;
    }
    if (ux > vx || (ux == vx && uy > vy)) {
        return 1;
    }
    return 0;
}

bool in_cone(float px, float py, float ax, float ay, float bx, float by, float cx, float cy) {
    int corner = left_sign(ax, ay, bx, by, cx, cy);
    int s1 = left_sign(ax, ay, bx, by, px, py);
    int s2 = left_sign(bx, by, cx, cy, px, py);
    if (corner > 0) {
        return s1 >= 0 && s2 >= 0;
    }
    return s1 >= 0 || s2 >= 0;
}

bool segments_cross(float px, float py, float qx, float qy, float ex, float ey, float fx, float fy) {
    int s_pq = left_sign(ex, ey, fx, fy, px, py) * left_sign(ex, ey, fx, fy, qx, qy);
    if (s_pq >= 0) {
        return false;
    }
    int s_ef = left_sign(px, py, qx, qy, ex, ey) * left_sign(px, py, qx, qy, fx, fy);
    return s_ef <= 0;
}

}  // namespace triangulate
}  // namespace swfplayer
