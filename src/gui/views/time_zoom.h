#pragma once

namespace faultscope {

// The visible time range of a record window, chosen with the overview band (milliseconds): the
// time line's state, not the record's.
struct TimeZoom {
    static constexpr double kMinWidthMs = 5.0;

    double zmin = 0.0;  // the whole record
    double zmax = 0.0;
    double areaMin = 0.0;  // the band as last accepted
    double areaMax = 0.0;

    // Puts the band over the whole record.
    void Reset(double recordMin, double recordMax) noexcept;

    // Accepts a band the user dragged or resized to [start, end]: at least 5 ms wide and kept
    // inside the record.
    void AreaResized(double start, double end) noexcept;

    void ZoomIn() noexcept;
    void ZoomOut() noexcept;
    void ZoomReset() noexcept;
    // Shows [start, end] (either order) as nearly as the record allows: cut at the record's
    // ends, then widened about its middle to 5 ms and moved inside the record keeping that
    // width.
    void ShowRange(double start, double end) noexcept;
    // Scales the band's width by `factor` about time `x`, which keeps its place in the band
    // unless the 5 ms width or the record's ends stop it.
    void ZoomAbout(double x, double factor) noexcept;

    // True when `x` lies inside the band.
    [[nodiscard]] bool InView(double x) const noexcept { return areaMin <= x && x <= areaMax; }
    // Moves the band, keeping its width, the least distance that brings `x` inside it with a
    // twentieth of the width to spare, never past the record's ends. False when it stays put.
    bool KeepInView(double x) noexcept;

  private:
    // Puts the band at `start`, `width` wide, inside the record; the record's width at most.
    void Place(double start, double width) noexcept;
};

}  // namespace faultscope
