#pragma once

// What the page process's extension tells the page view, as user messages.

// A request of the page was blocked by a content filter (no parameters).
#define SKIMLARK_BLOCKED_MESSAGE "skimlark-blocked"
// A frame of the page (the page itself included) has this origin: a string,
// "null" for an opaque one. Sent as each document starts, and again when it
// comes back from the back and forward cache.
#define SKIMLARK_FRAME_MESSAGE "skimlark-frame"
// The user clicked or typed in the page: a string, "page", "frame" or
// "frame leading" (a frame that may navigate the top page).
#define SKIMLARK_ACTIVATION_MESSAGE "skimlark-activation"
