#include "lettering.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    float x, y;
};

float segment(Point p, Point a, Point b) {
    float bx = b.x - a.x, by = b.y - a.y, px = p.x - a.x, py = p.y - a.y;
    float t = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.0f, 1.0f);
    float dx = px - bx * t, dy = py - by * t;
    return std::sqrt(dx * dx + dy * dy);
}

// Letter skeletons in a cell 0.7 wide; the distance to the centre lines.
float letter_h(Point p) {
    return std::min({segment(p, {0, 0}, {0, 1}), segment(p, {0.7f, 0}, {0.7f, 1}), segment(p, {0, 0.5f}, {0.7f, 0.5f})});
}

float letter_e(Point p) {
    return std::min({segment(p, {0, 0}, {0, 1}), segment(p, {0, 1}, {0.66f, 1}), segment(p, {0, 0.5f}, {0.52f, 0.5f}),
                     segment(p, {0, 0}, {0.66f, 0})});
}

float letter_d(Point p) {
    const Point centre{0.2f, 0.5f};
    float bowl;
    if (p.x >= centre.x) {
        float r = std::hypot(p.x - centre.x, p.y - centre.y);
        bowl = std::fabs(r - 0.5f);
    } else {
        bowl = std::min(std::hypot(p.x - centre.x, p.y), std::hypot(p.x - centre.x, p.y - 1));
    }
    return std::min({bowl, segment(p, {0, 0}, {0, 1}), segment(p, {0, 0}, {0.2f, 0}), segment(p, {0, 1}, {0.2f, 1})});
}

float letter_n(Point p) {
    return std::min({segment(p, {0, 0}, {0, 1}), segment(p, {0, 1}, {0.7f, 0}), segment(p, {0.7f, 0}, {0.7f, 1})});
}

}  // namespace

float title_distance(float x, float y) {
    // Cells start 1.0 apart; the word spans 0 .. 4.7 before centring.
    float wx = x + 2.35f;
    float (*const letters[5])(Point) = {letter_h, letter_e, letter_d, letter_e, letter_n};
    float best = 1e9f;
    for (int i = 0; i < 5; ++i) best = std::min(best, letters[i]({wx - static_cast<float>(i), y}));
    return best - title_stroke;
}
