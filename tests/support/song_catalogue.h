#pragma once
// Songs known to the test doubles by path: length, tags and how each one fails. The probes
// it makes (on the search thread) and the FakePlayer (on the test's thread) both read it.
// Thread-safe. A gated path holds its probe inside Open until released, and every probe
// writes its life to the probe log: "create", "open:<path>", "destroy".
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "songlist/core/song_probe.h"

namespace testsupport {

struct SongSpec {
    double duration = 240;
    std::string author, title, description;
    bool probes = true;  // the search accepts it
    bool opens = true;   // the player can open it
    // What GetSongDetails gives.
    std::string album{};
    int trackNumber = 0;      // 0: not tagged
    std::string coverPath{};  // the cover picture's file; empty: none
};

SongSpec lasting(double seconds, std::string author = {}, std::string title = {},
                 std::string description = {});
SongSpec unopenable();   // found by the search, but the player can't open it
SongSpec unprobeable();  // the search leaves it out

class SongCatalogue {
  public:
    // What the catalogue makes of a path that was never added.
    enum class Unlisted {
        Rejected,
        // Judged by its file: an existing file is a song unless its name holds "bad", with
        // "A:<name>" and "T:<name>" as author and title; a name holding "noinfo" has no
        // texts, one holding "long" has 300-byte texts with a character across byte 255.
        ByFileName,
    };
    explicit SongCatalogue(Unlisted unlisted = Unlisted::Rejected) : unlisted_(unlisted) {}
    SongCatalogue(const SongCatalogue&) = delete;
    SongCatalogue& operator=(const SongCatalogue&) = delete;

    void add(const std::string& path, SongSpec song = {});
    std::optional<SongSpec> find(const std::string& path) const;

    void gate(const std::string& path);
    void release(const std::string& path);
    void releaseAll();
    // Waits (at most 10 s) until a probe has opened `path`; it is held there when gated.
    bool waitAtGate(const std::string& path) { return waitForLog("open:" + path); }
    // Waits (at most 10 s) until `line` is in the probe log.
    bool waitForLog(const std::string& line);
    std::vector<std::string> probeLog() const;
    void clearProbeLog();
    // The paths handed to the probes' Open, in order.
    std::vector<std::string> openedPaths() const;
    int probesCreated() const { return countInLog("create"); }
    int probesDestroyed() const { return countInLog("destroy"); }

    // Runs inside each probe's Open, before its gate, on the search thread. Set it before
    // the search starts.
    std::function<void(const std::string& path)> onOpen;

    SongProbeFactory probeFactory();

  private:
    friend class CatalogueProbe;
    void log(const std::string& line);
    void passGate(const std::string& path);
    int countInLog(const std::string& line) const;

    const Unlisted unlisted_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::map<std::string, SongSpec> songs_;
    std::set<std::string> gated_;
    std::vector<std::string> probeLog_;
};

}  // namespace testsupport
