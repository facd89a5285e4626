#pragma once
// A private PulseAudio sound server with one null sink, as a desktop's would be, for
// what a listener hears through a real server: the programs started while it lives play
// to it (PULSE_SERVER), a capture records the sink's monitor on the server's clock, so a
// gap in the sound is silence in the capture, and the server's log tells how many
// streams a program opened.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace testsupport {

class SoundServer {
  public:
    static constexpr int kRate = 44100;  // the null sink's: 16-bit stereo at this rate

    // Starts the server and waits until it answers; available() tells whether it did
    // (pulseaudio and pactl installed and the server up).
    SoundServer();
    // Stops what it started and gives PULSE_SERVER back.
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    bool available() const { return serverPid_ > 0; }

    // Records the sink's monitor (and counts the streams opened) until stopCapture().
    void startCapture();
    // Ends the recording after `tailMs` more and returns it: interleaved stereo frames.
    std::vector<std::int16_t> stopCapture(int tailMs = 300);
    // Streams (sink inputs) opened to play since startCapture(); the short one a sink
    // opens to ask what the server takes is not counted.
    int streamsOpened() const;

  private:
    TempDir dir_;
    pid_t serverPid_ = -1;
    pid_t recordPid_ = -1;
    std::size_t logStart_ = 0;
    std::string previousServer_;
    bool hadServer_ = false;
};

// What a capture of songs played one after the other shows, for songs whose sound is
// never zero (a square wave) and that take turns being loud (above half scale) and soft:
// the stretch from the first sounding frame to the last, the silences inside it (runs of
// frames zero on both channels, at least `minGapFrames` long), which are gaps at joins,
// and the length of each loud song, from its first loud frame to its last (a soft stretch
// of 64 frames or more ends it). The start and the end of a stream are the server's; a
// loud song between two soft ones shows what its joins lost or added.
struct JoinFigures {
    std::int64_t soundingFrames = 0;
    int gaps = 0;
    std::int64_t longestGapFrames = 0;
    std::int64_t gapFrames = 0;  // all the gaps together
    std::vector<std::int64_t> loudSongFrames;
};
JoinFigures measureJoins(const std::vector<std::int16_t>& stereo, int minGapFrames = 4);

}  // namespace testsupport
