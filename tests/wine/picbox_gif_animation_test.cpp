// An animated GIF plays while `animate` is true and rests on frame 0 otherwise.
#include "tests/wine/picbox_fixture_win.h"

#include <gtest/gtest.h>

#include <set>

using namespace picbox_testing;
using namespace picture_files;

namespace {

std::string redGreenBlue() {
    return gifFile({Image(20, 10, 0xFF0000), Image(20, 10, 0x00FF00), Image(20, 10, 0x0000FF)},
                   {0xFF0000, 0x00FF00, 0x0000FF}, 5);
}

// The colours the box shows over about `ms` milliseconds.
std::set<uint32_t> coloursSeen(PicBoxHost& host, DWORD ms) {
    std::set<uint32_t> seen;
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        pump(10);
        seen.insert(host.painted().at(5, 5));
    }
    return seen;
}

TEST(PicBoxGif, PlaysEveryFrameWhileAnimating) {
    PicBoxHost host(0);
    host.box().setPicture(redGreenBlue());
    ASSERT_EQ(host.box().frameCount(), 3);
    EXPECT_EQ(host.painted().at(5, 5), 0xFF0000u);
    EXPECT_EQ(coloursSeen(host, 600), (std::set<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF}));
}

TEST(PicBoxGif, RestsOnTheFirstFrameWhenNotAnimating) {
    PicBoxHost host(0, 305, 400, false);
    host.box().setPicture(redGreenBlue());
    EXPECT_EQ(coloursSeen(host, 300), (std::set<uint32_t>{0xFF0000}));
    host.box().setAnimate(true);
    EXPECT_GT(coloursSeen(host, 400).size(), 1u);
    host.box().setAnimate(false);
    EXPECT_EQ(host.box().currentFrame(), 0);
    EXPECT_EQ(coloursSeen(host, 300), (std::set<uint32_t>{0xFF0000}));
}

TEST(PicBoxGif, AStillGifHasOneFrame) {
    PicBoxHost host(0);
    host.box().setPicture(gifFile({Image(20, 10, 0x00FF00)}, {0x00FF00}));
    EXPECT_EQ(host.box().frameCount(), 1);
    EXPECT_EQ(host.painted().at(19, 9), 0x00FF00u);
}

} // namespace
