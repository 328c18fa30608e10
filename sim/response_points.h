// A set of frequencies at which the virtual unit evaluates filter shapes with dsp_math.
//
// The dsp_math routines take the second-to-last element of their frequency array as the Nyquist
// reference (their own grid ends with fs/2 and fs), so any other set of frequencies is evaluated
// with those two points appended; callers see only their own points.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace sim {

class ResponsePoints {
 public:
  explicit ResponsePoints(std::span<const double> frequencies);

  std::size_t Count() const { return mCount; }
  double Frequency(std::size_t index) const { return mGrid[index]; }
  std::span<const double> Frequencies() const { return std::span(mGrid).first(mCount); }

  // Each adds the shape's dB at every point to `out` (Count() entries).
  void AddPeaking(double frequency, double gainDb, double q, std::span<double> out);
  // A Butterworth high-pass or low-pass of the given order.
  void AddHighPass(double frequency, int order, std::span<double> out);
  void AddLowPass(double frequency, int order, std::span<double> out);

 private:
  void AddScratch(std::span<double> out) const;

  std::size_t mCount = 0;
  std::vector<double> mGrid;     // the points, then fs/2 and fs
  std::vector<double> mScratch;  // one shape's dB, as long as mGrid
};

}  // namespace sim
