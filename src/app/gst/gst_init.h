#pragma once
// Initialises GStreamer once per process, from whichever thread asks first.
void ensureGstInitialised();
