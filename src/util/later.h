#pragma once

#include <glibmm/main.h>
#include <sigc++/sigc++.h>

#include <utility>

// Runs `action` from the main loop once the event being handled has returned,
// and not at all if `owner` is gone by then. A click's command runs this way,
// so that an assistive tool that clicked can answer the box the command opens.
template <class Action> void runLater(sigc::trackable &owner, Action action)
{
    Glib::signal_idle().connect_once(sigc::track_obj(std::move(action), owner));
}
