#pragma once
// Parameter animation: one member of each animated curve family at a time, drawn and
// erased with the inverting pen so that the rest of the picture is never redrawn.

#include <cstdint>

namespace pc {

class PlotSession;
class PlotSurface;
class TFktItem;

// What advanced the animation: the timer keeps the direction, the step buttons set it.
enum class AnimationSender : std::uint8_t { Timer, StepBackward, StepForward };

struct AnimationFrame {
    std::int32_t frame = 0;
    bool forward = true;
};

// The frame after `current` among `count` frames. YoYo turns at the ends (each end frame
// is shown twice); without it the frames wrap around.
AnimationFrame NextFrame(AnimationFrame current, std::int32_t count, bool yoyo,
                         AnimationSender sender);

// Clears the main plot, draws the grid and every curve that is not animated, and frame 0
// of every animated item, running forwards or backwards.
void StartAnimation(PlotSession& session, bool forward);

// Erases the current frame of every animated item, steps it, and draws the new one.
void AnimationStep(PlotSession& session, AnimationSender sender, bool yoyo);

// Draws frame `frame` of the item on the main plot with the inverting pen: drawing the
// same frame twice restores the picture.
void DrawFrame(PlotSession& session, TFktItem& item, std::int32_t frame);

}  // namespace pc
