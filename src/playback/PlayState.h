#pragma once
// The play state of a media graph. Other parts read it to decide what a command may do; a
// graph that was never built stays Idle, which callers treat like Stopped.

namespace kx {

enum class PlayState { Running = 0, Paused = 1, Stopped = 2, Idle = 3 };

}  // namespace kx
