#pragma once

// The script world our own scripts run in: the page's own scripts cannot see
// or change what runs there.
inline constexpr char OurScriptWorld[] = "skimlark";
