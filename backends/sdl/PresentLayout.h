// Where a frame goes in the window: aspect kept, pixels crisp.
#pragma once

// The frame is first enlarged by the whole number Multiple (nearest neighbour, so every frame pixel
// becomes an even square of window pixels), and that picture is then scaled smoothly into the
// destination rectangle, the largest one of the frame's aspect that fits the output, centred; the
// rest of the output is black bars. When the destination is exactly Multiple times the frame, no
// smooth step is needed (Exact). An output smaller than the frame gets Multiple 1.
struct TPresentLayout {
  int Multiple = 1;
  int X = 0, Y = 0, Width = 0, Height = 0;  // destination rectangle in output pixels
  bool Exact = false;
};

// The layout for a frameWidth x frameHeight frame on an outputWidth x outputHeight output. Sizes
// that are not positive give an empty destination.
TPresentLayout ComputePresentLayout(int frameWidth, int frameHeight, int outputWidth,
                                    int outputHeight);
