#pragma once
// The size of the primary screen in pixels.
namespace qlx {

class IScreenMetrics {
 public:
  virtual ~IScreenMetrics() = default;
  virtual int Width() = 0;
  virtual int Height() = 0;
};

}  // namespace qlx
