#pragma once

// What the page process's extension tells the page view: a request of the
// page was blocked by a content filter (a user message without parameters).
#define SKIMLARK_BLOCKED_MESSAGE "skimlark-blocked"
