#pragma once
// The mouse wheel's turns in whole notches: a notch is 15 degrees, and a fine-grained wheel or
// touchpad adds its turns up to whole notches.

namespace metopt::platform {

class WheelNotches {
  public:
    // The whole notches the turn completes (positive away from the user); `eighths` is the
    // event's angle delta, in eighths of a degree.
    int Add(int eighths) {
        constexpr int NotchEighths = 120;
        eighths_ += eighths;
        const int notches = eighths_ / NotchEighths;
        eighths_ -= notches * NotchEighths;
        return notches;
    }

  private:
    int eighths_ = 0;
};

}  // namespace metopt::platform
