#pragma once

namespace palisade {

// How large the board is drawn, chosen once at start-up from the screen size.
// A screen narrower than 1024 pixels gets the smaller board.
struct DisplayScale {
    double screenRatioX = 1.0; // screen width / 1024 pixels
    double screenRatioY = 1.0; // screen height / 768 pixels; 1 on a wide screen
    double scaleX = 1.0;
    double scaleY = 1.0;
};

DisplayScale computeDisplayScale(double screenWidthPx, double screenHeightPx);

} // namespace palisade
