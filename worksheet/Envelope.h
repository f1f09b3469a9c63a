// The C.G. envelope as geometry: a closed outline of (weight, arm) points, the arms it allows
// at a weight (so that a sloped limit is exact), and what is wrong with an outline that cannot
// be one. Pure arithmetic in double precision; how figures are shown is the caller's.
#pragma once

#include <optional>
#include <vector>

namespace wb {

struct EnvelopePoint {
    double weight = 0;
    double arm = 0;
    bool operator==(const EnvelopePoint&) const = default;
};

// Why a list of points is no outline. The points are numbered from 1 in the order given.
struct OutlineFault {
    enum class Kind {
        TooFewPoints,   // fewer than three points
        RepeatedPoint,  // `first` is the same point as the one before it (`second`)
        CrossesItself,  // the edge from point `first` meets the edge from point `second`
        NoArea,         // every point lies on one straight line
    };
    Kind kind = Kind::TooFewPoints;
    int first = 0, second = 0;
};

// Nothing when the points, joined in order and back to the first, enclose an area without
// the outline meeting itself anywhere but at the corners it turns at.
std::optional<OutlineFault> CheckOutline(const std::vector<EnvelopePoint>& points);

// The arms from forward to aft that lie within a sound outline at one weight, both ends
// included.
struct ArmRange {
    double forward = 0, aft = 0;
    bool operator==(const ArmRange&) const = default;
};

// Every stretch of arms within the outline at `weight`, forward first; empty when the level
// line at that weight misses the outline. A concave outline can give more than one stretch.
std::vector<ArmRange> ArmsWithin(const std::vector<EnvelopePoint>& outline, double weight);

// The lightest and heaviest weights of the outline.
struct WeightSpan {
    double low = 0, high = 0;
};
WeightSpan WeightsOf(const std::vector<EnvelopePoint>& outline);

// The most forward and most aft arms within the outline at `weight` (the forward and aft
// limits there); nothing outside the outline's weights.
std::optional<ArmRange> LimitsAt(const std::vector<EnvelopePoint>& outline, double weight);

// The limits at `weight` held to the outline's weights: above its top weight the limits at
// the top, below its lowest those at the lowest. For sorting loads ahead of and behind a limit.
ArmRange LimitsNear(const std::vector<EnvelopePoint>& outline, double weight);

// Whether (weight, arm) lies within the outline, on its edge included.
bool WithinOutline(const std::vector<EnvelopePoint>& outline, double weight, double arm);

}  // namespace wb
