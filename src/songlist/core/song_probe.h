#pragma once
// What the song searcher needs of a playback graph to vet a candidate file: open it,
// and read its author and title. The real one is the GStreamer MediaGraph; tests use fakes.
#include <functional>
#include <memory>
#include <string>

// The texts a probe reads from a song, by the number GetContentText takes.
enum ContentKind : int { Author = 1, Title = 2, Description = 3 };

class SongProbe {
  public:
    virtual ~SongProbe() = default;
    // 0 when the file opens as a playable song; any other value skips it.
    virtual int Open(const std::string& path, bool withNullRenderer) = 0;
    // `kind` is a ContentKind; 0 with `text` set, or -2 leaving it alone.
    virtual int GetContentText(int kind, std::string& text) = 0;
    // The opened file's length in seconds; negative when unknown.
    virtual double GetDuration() { return -1.0; }
};

// Called on the search thread at the start of each search; the probe lives and dies there.
using SongProbeFactory = std::function<std::unique_ptr<SongProbe>()>;
