// How songs join, heard through a sound server: for each pair of songs, vorn and
// gst-play-1.0 --gapless play them one after the other to a private PulseAudio null sink
// (44.1 kHz, 16-bit stereo) whose monitor is recorded on the server's clock. Each case is
// three songs, soft, loud, soft, so the loud one's length in the recording shows what its
// two joins lost or added. Printed side by side, the median over the runs: the silence
// at the joins, the frames lost (-) or added (+) against the loud song's own length at
// the sink's rate, and the streams opened.
// Usage: gapless <vorn program> [runs]
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/sound_server.h"
#include "support/temp_dir.h"
#include "support/test_media.h"

namespace {

using testsupport::SoundServer;

struct Case {
    const char* name;
    std::vector<std::string> encoders;  // per song: what follows the raw source
    std::vector<int> rates;
    std::vector<std::string> extensions;  // the first song's are the third's too
};

// Two seconds of a square wave (never zero, so silence is a gap) at `rate`.
std::string makeSong(const std::string& dir, const std::string& name, int rate,
                     const std::string& encoder, bool loud) {
    const std::string path = dir + "/" + name;
    testsupport::runPipeline(
        std::string("audiotestsrc wave=square volume=") + (loud ? "0.8" : "0.3") +
        " samplesperbuffer=" + std::to_string(rate / 10) +
        " num-buffers=20 ! audio/x-raw,format=S16LE,channels=2,rate=" + std::to_string(rate) +
        " ! " + encoder + " ! filesink location=" + path);
    return path;
}

// Two seconds of the same square wave, 44.1 kHz stereo, encoded by libmp3lame itself with
// its LAME tag (encoder delay and padding), which lamemp3enc ! xingmux does not write.
// False when the library can't be loaded.
bool makeLameTaggedMp3(const std::string& path, bool loud) {
    void* lame = ::dlopen("libmp3lame.so.0", RTLD_NOW);
    if (!lame)
        return false;
    using Flags = void*;
    auto get = [&](const char* name) { return ::dlsym(lame, name); };
    auto init = reinterpret_cast<Flags (*)()>(get("lame_init"));
    auto setRate = reinterpret_cast<int (*)(Flags, int)>(get("lame_set_in_samplerate"));
    auto setChannels = reinterpret_cast<int (*)(Flags, int)>(get("lame_set_num_channels"));
    auto setBitrate = reinterpret_cast<int (*)(Flags, int)>(get("lame_set_brate"));
    auto setTag = reinterpret_cast<int (*)(Flags, int)>(get("lame_set_bWriteVbrTag"));
    auto start = reinterpret_cast<int (*)(Flags)>(get("lame_init_params"));
    auto encode = reinterpret_cast<int (*)(Flags, short*, int, unsigned char*, int)>(
        get("lame_encode_buffer_interleaved"));
    auto flush = reinterpret_cast<int (*)(Flags, unsigned char*, int)>(get("lame_encode_flush"));
    auto tagFrame = reinterpret_cast<std::size_t (*)(Flags, unsigned char*, std::size_t)>(
        get("lame_get_lametag_frame"));
    auto close = reinterpret_cast<int (*)(Flags)>(get("lame_close"));
    if (!init || !setRate || !setChannels || !setBitrate || !setTag || !start || !encode ||
        !flush || !tagFrame || !close)
        return false;
    Flags flags = init();
    setRate(flags, 44100);
    setChannels(flags, 2);
    setBitrate(flags, 192);
    setTag(flags, 1);
    start(flags);
    const int frames = 2 * 44100;
    const short level = loud ? 26214 : 9830;
    std::vector<short> pcm(2 * frames);
    for (int i = 0; i < frames; ++i)
        pcm[2 * i] = pcm[2 * i + 1] = (i / 74) % 2 ? level : static_cast<short>(-level);
    std::vector<unsigned char> out(1 << 20);
    int length = encode(flags, pcm.data(), frames, out.data(), static_cast<int>(out.size()));
    length += flush(flags, out.data() + length, static_cast<int>(out.size()) - length);
    // The stream starts with a placeholder as long as the tag frame that replaces it.
    unsigned char tag[4096];
    const std::size_t tagLength = tagFrame(flags, tag, sizeof tag);
    close(flags);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(tag), static_cast<std::streamsize>(tagLength));
    file.write(reinterpret_cast<const char*>(out.data() + tagLength),
               static_cast<std::streamsize>(length - static_cast<int>(tagLength)));
    return length > 0 && tagLength > 0;
}

int run(std::vector<std::string> args) {
    std::fflush(stdout);  // the child's stdout goes elsewhere, but its buffer would go too
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

struct Heard {
    double gapMs;
    long long frameError;
    int streams;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <vorn> [runs]\n", argv[0]);
        return 2;
    }
    const std::string vorn = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    SoundServer server;
    if (!server.available()) {
        std::fprintf(stderr, "PulseAudio (pulseaudio, pulseaudio-utils) is needed\n");
        return 1;
    }
    unsetenv("VORN_AUDIO_SINK");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testsupport::TempDir dir;
    const std::string ini = dir.file("tvorn.ini");
    std::ofstream(ini) << "[OhterSettings]\nisEndAndPlay=1\nsearchExtent=*.wav;*.flac;*.mp3\n";

    const std::string wav = "wavenc";
    const std::string flac = "flacenc";
    const std::string mp3 = "lamemp3enc target=bitrate cbr=true bitrate=192 ! xingmux ! id3v2mux";
    const std::vector<Case> cases = {
        {"WAV to WAV", {wav, wav}, {44100, 44100}, {"wav", "wav"}},
        {"FLAC to FLAC", {flac, flac}, {44100, 44100}, {"flac", "flac"}},
        {"WAV 44.1 kHz, FLAC 48 kHz", {wav, flac}, {44100, 48000}, {"wav", "flac"}},
        {"MP3 to MP3", {mp3, mp3}, {44100, 44100}, {"mp3", "mp3"}},
        {"MP3 with LAME tag", {"lame", "lame"}, {44100, 44100}, {"mp3", "mp3"}},
    };
    std::printf("%-28s %-22s %10s %14s %8s\n", "songs (soft, loud, soft)", "player", "gap ms",
                "frames +/-", "streams");
    for (const Case& join : cases) {
        const std::string folder = dir.subdir("case" + std::to_string(&join - cases.data()));
        std::vector<std::string> files;
        for (int i = 0; i < 3; ++i) {
            const int which = i % 2;
            const std::string name = std::to_string(i + 1) + "." + join.extensions[which];
            if (join.encoders[which] != "lame")
                files.push_back(
                    makeSong(folder, name, join.rates[which], join.encoders[which], i == 1));
            else if (makeLameTaggedMp3(folder + "/" + name, i == 1))
                files.push_back(folder + "/" + name);
        }
        if (files.size() < 3) {
            std::printf("%-28s (libmp3lame can't be loaded)\n", join.name);
            continue;
        }
        const long long expected = 2LL * SoundServer::kRate;  // two seconds at any rate
        struct Player {
            const char* name;
            std::vector<std::string> command;
        };
        const Player players[] = {
            {"vorn", {vorn, "--ini", ini, folder}},
            {"gst-play-1.0 --gapless",
             {"gst-play-1.0", "--gapless", "--no-interactive", "-q", files[0], files[1], files[2]}},
        };
        for (const Player& player : players) {
            std::vector<double> gaps, errors, streams;
            for (int r = 0; r < runs; ++r) {
                server.startCapture();
                run(player.command);
                const auto heard = testsupport::measureJoins(server.stopCapture());
                gaps.push_back(1000.0 * static_cast<double>(heard.gapFrames) / SoundServer::kRate);
                const long long loud =
                    heard.loudSongFrames.size() == 1 ? heard.loudSongFrames[0] : 0;
                errors.push_back(static_cast<double>(loud - expected));
                streams.push_back(server.streamsOpened());
            }
            std::printf("%-28s %-22s %10.3f %+14.0f %8.0f\n", join.name, player.name, median(gaps),
                        median(errors), median(streams));
        }
    }
    std::printf(
        "targets: gap at most 0.1 ms and 0 frames where the formats match; at most "
        "1 ms across a rate change\n");
    return 0;
}
