// Turns the screen as a motorised mount does: the host announces the turn, then reports the
// mount's angle every frame while the motor speeds up, runs and slows down, about a second for
// the quarter turn. 0 degrees is the landscape position, 90 the portrait position.
#pragma once

#include "library_api.h"
#include "visualization/types.h"

namespace vizhost {

class RotationDriver {
public:
    RotationDriver(const LibraryApi& api, RotateInfo orientation, float seconds = 1.0f);

    // Starts a turn to the other orientation at time `now` (seconds). A mount that is already
    // turning ignores the request and this returns false.
    bool start(double now);
    // Reports the angle at `now` while a turn is under way; the last report is the exact end
    // position, after which the mount is at rest in the new orientation.
    void update(double now);

    bool turning() const { return mTurning; }
    // The orientation the mount rests in, or is turning towards.
    RotateInfo orientation() const { return mTo; }

    // Position along the turn for a time fraction 0..1: constant acceleration for the first
    // quarter, constant speed, constant deceleration for the last quarter.
    static float travel(float fraction);

private:
    const LibraryApi& mApi;
    float mSeconds;
    RotateInfo mFrom;
    RotateInfo mTo;
    bool mTurning = false;
    double mStart = 0.0;
};

}  // namespace vizhost
