#include "report/prepare/BandAlignPlacement.h"

#include "report/model/MemoView.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

TfrMemoView at(int left, int width, uint8_t align) {
    TfrMemoView m;
    m.Left = left, m.Width = width, m.BandAlign = align;
    return m;
}

TEST(BandAlignPlacementTest, PlacesAmongNeighbours) {
    // Page room 20..620; a left-aligned box at 50..150, a right-aligned one at 500.
    const TfrMemoView leftOne = at(50, 100, baLeft), rightOne = at(500, 80, baRight);
    const std::vector<const TfrView*> neighbours{&leftOne, &rightOne};
    const PlacementLimits limits{20, 620};
    struct Case {
        const char* name;
        TfrMemoView view;
        int left, width;
    } cases[] = {
        {"left after the left neighbour", at(300, 40, baLeft), 150, 40},
        {"left without a neighbour", at(30, 40, baLeft), 20, 40},
        {"right before the right neighbour", at(300, 40, baRight), 459, 40},
        {"right without a neighbour", at(550, 40, baRight), 580, 40},
        {"centre", at(0, 100, baCenter), 270, 100},
        {"width", at(5, 10, baWidth), 20, 599},
        {"rest between the two", at(300, 10, baRest), 150, 350},
        {"bottom left to the band engine", at(33, 10, baBottom), 33, 10},
        {"none", at(33, 10, baNone), 33, 10},
    };
    for (Case& c : cases) {
        PlaceByBandAlign(c.view, neighbours, limits);
        EXPECT_EQ(c.view.Left, c.left) << c.name;
        EXPECT_EQ(c.view.Width, c.width) << c.name;
    }
}

TEST(BandAlignPlacementTest, LimitsFromMarginsOrPrinter) {
    struct Case {
        bool margins;
        int leftMargin, rightMargin;
        int left, right;
    } cases[] = {{false, 30, 30, 0, 800}, {true, 30, 40, 30, 760}, {true, 0, 0, 12, 782}};
    for (const Case& c : cases) {
        const PlacementLimits l =
            placementLimits(c.margins, 800, c.leftMargin, c.rightMargin, 12, 770);
        EXPECT_EQ(l.left, c.left);
        EXPECT_EQ(l.right, c.right);
    }
}

} // namespace
} // namespace pv
