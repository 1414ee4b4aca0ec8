#pragma once

// The whole start-up, in order: resources, splash, page view and main window,
// load, show, first activation, splash closed, then the event loop. A second
// start of the program brings the running window forward and ends. Addresses
// or files on the command line, as typed and with the folder they were given
// in, go to the window, which opens what it may instead of the home page or
// in place of the page shown.
int runSkimlark(int argc, char *argv[]);
