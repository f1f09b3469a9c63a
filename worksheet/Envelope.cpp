#include "worksheet/Envelope.h"

#include <algorithm>
#include <cmath>

namespace wb {
namespace {

// Weights run to thousands, arms to tens: each direction is compared on its own scale, so
// that "the same" means the same whatever the units.
struct Scale {
    double weight = 1, arm = 1;
};

Scale ScaleOf(const std::vector<EnvelopePoint>& points) {
    Scale s;
    for (const EnvelopePoint& p : points) {
        s.weight = std::max(s.weight, std::fabs(p.weight));
        s.arm = std::max(s.arm, std::fabs(p.arm));
    }
    return s;
}

// A point in the outline's own proportions: both directions of about the same size.
struct Flat {
    double x, y;
};

Flat FlatOf(const EnvelopePoint& p, const Scale& s) {
    return {p.arm / s.arm, p.weight / s.weight};
}

constexpr double kHair = 1e-12;

double Cross(Flat o, Flat a, Flat b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

int Side(Flat o, Flat a, Flat b) {
    const double c = Cross(o, a, b);
    return std::fabs(c) <= kHair ? 0 : (c > 0 ? 1 : -1);
}

// q lies on the segment from p to r, given the three are on one line.
bool OnSegment(Flat p, Flat q, Flat r) {
    return q.x <= std::max(p.x, r.x) + kHair && q.x >= std::min(p.x, r.x) - kHair &&
           q.y <= std::max(p.y, r.y) + kHair && q.y >= std::min(p.y, r.y) - kHair;
}

// The closed segments p1-p2 and q1-q2 have a point in common.
bool SegmentsMeet(Flat p1, Flat p2, Flat q1, Flat q2) {
    const int d1 = Side(p1, p2, q1), d2 = Side(p1, p2, q2), d3 = Side(q1, q2, p1), d4 = Side(q1, q2, p2);
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return (d1 == 0 && OnSegment(p1, q1, p2)) || (d2 == 0 && OnSegment(p1, q2, p2)) ||
           (d3 == 0 && OnSegment(q1, p1, q2)) || (d4 == 0 && OnSegment(q1, p2, q2));
}

// The arms where the edges cross the level line at `weight`, each edge taken with its lower
// end (lowerClosed) or its upper end included, so that a corner at that weight counts once.
std::vector<double> Crossings(const std::vector<EnvelopePoint>& outline, double weight, bool lowerClosed) {
    std::vector<double> arms;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const EnvelopePoint& p = outline[i];
        const EnvelopePoint& q = outline[(i + 1) % n];
        if (p.weight == q.weight) continue;
        const double lo = std::min(p.weight, q.weight), hi = std::max(p.weight, q.weight);
        const bool crosses = lowerClosed ? (weight >= lo && weight < hi) : (weight > lo && weight <= hi);
        if (!crosses) continue;
        // Worked from the edge's lower end, so that a vertical edge gives its arm exactly.
        const EnvelopePoint& low = p.weight < q.weight ? p : q;
        const EnvelopePoint& high = p.weight < q.weight ? q : p;
        arms.push_back(low.arm + (weight - low.weight) * (high.arm - low.arm) / (high.weight - low.weight));
    }
    std::sort(arms.begin(), arms.end());
    return arms;
}

void AddPairs(const std::vector<double>& arms, std::vector<ArmRange>& ranges) {
    for (size_t i = 0; i + 1 < arms.size(); i += 2)
        ranges.push_back({arms[i], arms[i + 1]});
}

}  // namespace

std::optional<OutlineFault> CheckOutline(const std::vector<EnvelopePoint>& points) {
    using K = OutlineFault::Kind;
    const int n = static_cast<int>(points.size());
    if (n < 3) return OutlineFault{K::TooFewPoints, 0, 0};
    const Scale s = ScaleOf(points);
    std::vector<Flat> f;
    f.reserve(points.size());
    for (const EnvelopePoint& p : points)
        f.push_back(FlatOf(p, s));
    for (int i = 0; i < n; ++i) {
        const Flat a = f[static_cast<size_t>(i)], b = f[static_cast<size_t>((i + 1) % n)];
        if (std::fabs(a.x - b.x) <= kHair && std::fabs(a.y - b.y) <= kHair)
            return OutlineFault{K::RepeatedPoint, (i + 1) % n + 1, i + 1};
    }
    // Two edges that are not neighbours must not meet at all; neighbours meet at their shared
    // corner only, so they must not fold back over each other.
    for (int i = 0; i < n; ++i) {
        const Flat a1 = f[static_cast<size_t>(i)], a2 = f[static_cast<size_t>((i + 1) % n)];
        for (int j = i + 1; j < n; ++j) {
            const Flat b1 = f[static_cast<size_t>(j)], b2 = f[static_cast<size_t>((j + 1) % n)];
            const bool next = j == i + 1, wraps = i == 0 && j == n - 1;
            if (next || wraps) {
                // Shared corner: a2 == b1 (next) or b2 == a1 (wraps).
                const Flat corner = next ? a2 : a1, from = next ? a1 : a2, to = next ? b2 : b1;
                const bool folds = Side(corner, from, to) == 0 &&
                                   (from.x - corner.x) * (to.x - corner.x) + (from.y - corner.y) * (to.y - corner.y) > 0;
                if (folds && n > 3) return OutlineFault{K::CrossesItself, i + 1, j + 1};
                continue;
            }
            if (SegmentsMeet(a1, a2, b1, b2)) return OutlineFault{K::CrossesItself, i + 1, j + 1};
        }
    }
    double twiceArea = 0;
    for (int i = 0; i < n; ++i) {
        const Flat a = f[static_cast<size_t>(i)], b = f[static_cast<size_t>((i + 1) % n)];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    if (std::fabs(twiceArea) <= kHair) return OutlineFault{K::NoArea, 0, 0};
    return std::nullopt;
}

WeightSpan WeightsOf(const std::vector<EnvelopePoint>& outline) {
    WeightSpan span;
    if (outline.empty()) return span;
    span.low = span.high = outline.front().weight;
    for (const EnvelopePoint& p : outline) {
        span.low = std::min(span.low, p.weight);
        span.high = std::max(span.high, p.weight);
    }
    return span;
}

std::vector<ArmRange> ArmsWithin(const std::vector<EnvelopePoint>& outline, double weight) {
    std::vector<ArmRange> ranges;
    if (outline.size() < 3) return ranges;
    // Taken with the lower and with the upper ends of the edges: together they give every
    // stretch at a corner's weight too, the top and bottom edges included.
    AddPairs(Crossings(outline, weight, true), ranges);
    AddPairs(Crossings(outline, weight, false), ranges);
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const EnvelopePoint& p = outline[i];
        const EnvelopePoint& q = outline[(i + 1) % n];
        if (p.weight == weight && q.weight == weight)
            ranges.push_back({std::min(p.arm, q.arm), std::max(p.arm, q.arm)});
    }
    for (const EnvelopePoint& p : outline)
        if (p.weight == weight) ranges.push_back({p.arm, p.arm});
    std::sort(ranges.begin(), ranges.end(),
              [](const ArmRange& a, const ArmRange& b) { return a.forward < b.forward; });
    std::vector<ArmRange> merged;
    for (const ArmRange& r : ranges) {
        if (!merged.empty() && r.forward <= merged.back().aft) {
            merged.back().aft = std::max(merged.back().aft, r.aft);
        } else {
            merged.push_back(r);
        }
    }
    return merged;
}

std::optional<ArmRange> LimitsAt(const std::vector<EnvelopePoint>& outline, double weight) {
    const std::vector<ArmRange> ranges = ArmsWithin(outline, weight);
    if (ranges.empty()) return std::nullopt;
    return ArmRange{ranges.front().forward, ranges.back().aft};
}

ArmRange LimitsNear(const std::vector<EnvelopePoint>& outline, double weight) {
    const WeightSpan span = WeightsOf(outline);
    const double held = std::clamp(weight, span.low, span.high);
    return LimitsAt(outline, held).value_or(ArmRange{});
}

bool WithinOutline(const std::vector<EnvelopePoint>& outline, double weight, double arm) {
    for (const ArmRange& r : ArmsWithin(outline, weight))
        if (arm >= r.forward && arm <= r.aft) return true;
    return false;
}

}  // namespace wb
