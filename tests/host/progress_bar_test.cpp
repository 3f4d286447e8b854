#include <gtest/gtest.h>

#include "progress_bar.h"

using vizhost::ProgressBar;

TEST(ProgressBar, ShowsFramesSpeedAndTimeLeft) {
    EXPECT_EQ(ProgressBar::format(900, 3600, 30.0),
              "[#######.......................] 900/3600 frames  30.0 fps (0.50x)  1:30 left");
    EXPECT_EQ(ProgressBar::format(3600, 3600, 60.0),
              "[##############################] 3600/3600 frames  60.0 fps (1.00x)  0:00 left");
    // Before the first frame the speed is unknown; counts beyond the total are held at it.
    EXPECT_EQ(ProgressBar::format(0, 100, 0.0),
              "[..............................] 0/100 frames  0.0 fps (0.00x)  ?:?? left");
    EXPECT_EQ(ProgressBar::format(150, 100, 1.0).substr(0, 45),
              "[##############################] 100/100 fram");
}
