#pragma once
// Initialises GStreamer once per process, from whichever thread asks first.
void ensureGstInitialised();

// The same, first taking GStreamer's own command-line options (--gst-debug-level=N,
// --gst-plugin-path=P, --gst-version...) out of argc/argv, so they take effect and the
// program's own parser never sees them. Called once, before any other initialisation,
// from main(); a later call has no effect on the options.
void initialiseGstFromCommandLine(int& argc, char**& argv);
