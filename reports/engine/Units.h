#pragma once

#include <cmath>

namespace reports {

// Report lengths are tenths of a millimetre, held as floating point. The layouts are drawn in
// design units of 1/96 inch and converted once, when an element or band is made.
inline constexpr double kTenthsPerInch = 254.0;

constexpr double designToTenths(double units) { return units * kTenthsPerInch / 96.0; }

// Places tenths of a millimetre on a device: positions are measured from the paper's edge, so
// the device's unprintable offsets (also in tenths) are taken off first. Rounding is to the
// nearest whole device pixel.
struct DeviceMapping {
    double dpiX = 96.0;
    double dpiY = 96.0;
    double offsetX = 0.0;  // tenths
    double offsetY = 0.0;

    int x(double tenths) const {
        return int(std::lround((tenths - offsetX) * dpiX / kTenthsPerInch));
    }
    int y(double tenths) const {
        return int(std::lround((tenths - offsetY) * dpiY / kTenthsPerInch));
    }
    int width(double tenths) const { return int(std::lround(tenths * dpiX / kTenthsPerInch)); }
    int height(double tenths) const { return int(std::lround(tenths * dpiY / kTenthsPerInch)); }
};

}  // namespace reports
