#include "bus/platelookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace varnet {
namespace {

struct Point {
    double value;
    int steps;
};

// A plate with its ends and its points (last point index = points - 1).
ConfigTables plate(Point minimum, Point maximum, const std::vector<Point>& points)
{
    ConfigTables t;
    t.AddPlate();
    auto& values = t.PlateValue[0];
    auto& steps = t.PlateSteps[0];
    values[1] = steps[1] = Integer(points.size() - 1);
    values[2] = minimum.value;
    steps[2] = Integer(minimum.steps);
    values[3] = maximum.value;
    steps[3] = Integer(maximum.steps);
    for (std::size_t k = 0; k < points.size(); ++k) {
        values[4 + k] = points[k].value;
        steps[4 + k] = Integer(points[k].steps);
    }
    return t;
}

std::optional<int> lookup(const ConfigTables& t, Single value, int number = 0)
{
    return PlateValueToSteps(number, value, t);
}

// A dial whose needle travels 0..900 steps for 0..300, with one point at 100.
const ConfigTables kDial = plate({0, 0}, {300, 900}, {{0, 0}, {100, 200}, {300, 900}});

TEST(PlateLookup, InterpolatesBetweenPointsAndRoundsDown)
{
    EXPECT_EQ(lookup(kDial, 1.45f), 2);   // 2.9 steps
    EXPECT_EQ(lookup(kDial, 150), 375);   // on the second leg
    EXPECT_EQ(lookup(kDial, 100), 200);   // exactly on a point
    // Falling needle positions round toward minus infinity too.
    const ConfigTables falling = plate({0, 100}, {10, -100}, {{0, 100}, {10, -100}});
    EXPECT_EQ(lookup(falling, 5.01f), -1);  // -0.2 steps
}

TEST(PlateLookup, ClampsTheValueToThePlateAndWritesItBack)
{
    Single below = -40;
    EXPECT_EQ(PlateValueToSteps(0, below, kDial), 0);
    EXPECT_EQ(below, 0);
    Single above = 1e9f;
    EXPECT_EQ(PlateValueToSteps(0, above, kDial), 900);
    EXPECT_EQ(above, 300);
    EXPECT_EQ(lookup(kDial, std::numeric_limits<float>::infinity()), 900);
}

TEST(PlateLookup, PointsShortOfTheEndsInterpolateAgainstTheEnds)
{
    // The first point lies above the minimum, the last below the maximum.
    const ConfigTables inner = plate({0, 0}, {100, 1000}, {{20, 100}, {60, 500}});
    EXPECT_EQ(lookup(inner, 10), 50);
    EXPECT_EQ(lookup(inner, 80), 750);
}

TEST(PlateLookup, GivesNothingWhereThereIsNoPlateToReadOrNoValue)
{
    const ConfigTables onePoint = plate({0, 0}, {100, 1000}, {{0, 0}});
    Single value = 50;
    EXPECT_EQ(PlateValueToSteps(0, value, onePoint), std::nullopt);
    EXPECT_EQ(value, 50);
    EXPECT_EQ(lookup(kDial, 50, -1), std::nullopt);
    EXPECT_EQ(lookup(kDial, 50, 1), std::nullopt);  // the spare row is no plate
    EXPECT_EQ(lookup(kDial, std::nanf("")), std::nullopt);
    // A plate whose values are no numbers cannot place the needle either.
    ConfigTables broken = kDial;
    broken.PlateValue[0][5] = std::nan("");
    EXPECT_EQ(lookup(broken, 150), std::nullopt);
}

} // namespace
} // namespace varnet
