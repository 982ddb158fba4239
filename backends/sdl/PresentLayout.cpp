// Where a frame goes in the window: aspect kept, pixels crisp.
#include "backends/sdl/PresentLayout.h"

#include <algorithm>

TPresentLayout ComputePresentLayout(int frameWidth, int frameHeight, int outputWidth,
                                    int outputHeight) {
  TPresentLayout layout;
  if (frameWidth <= 0 || frameHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) return layout;

  // The widest rectangle of the frame's aspect that fits: compare the cross products in 64 bits.
  long long byWidth = static_cast<long long>(outputWidth) * frameHeight;
  long long byHeight = static_cast<long long>(outputHeight) * frameWidth;
  if (byWidth <= byHeight) {
    layout.Width = outputWidth;
    layout.Height = static_cast<int>(byWidth / frameWidth);
  } else {
    layout.Height = outputHeight;
    layout.Width = static_cast<int>(byHeight / frameHeight);
  }
  layout.Width = std::max(layout.Width, 1);
  layout.Height = std::max(layout.Height, 1);
  layout.X = (outputWidth - layout.Width) / 2;
  layout.Y = (outputHeight - layout.Height) / 2;

  layout.Multiple = std::max(1, std::min(layout.Width / frameWidth, layout.Height / frameHeight));
  layout.Exact = layout.Width == layout.Multiple * frameWidth &&
                 layout.Height == layout.Multiple * frameHeight;
  return layout;
}
