#include "app/core/settings_io.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace {

constexpr int kLoudest = 100;

// A whole number, held to 0..100; anything else (a missing key too) is the full volume.
int volumeFrom(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (stop != end || text.empty())
        return kLoudest;
    if (error == std::errc::result_out_of_range)
        return text.front() == '-' ? 0 : kLoudest;
    if (error != std::errc())
        return kLoudest;
    return std::clamp(value, 0, kLoudest);
}

class SectionReader {
  public:
    SectionReader(const ProfileStore& store, const char* section)
        : store_(store), section_(section) {}
    void read(const char* key, bool& value) const {
        value = store_.getInt(section_, key, value ? 1 : 0) != 0;
    }
    void read(const char* key, int& value) const { value = store_.getInt(section_, key, value); }
    void read(const char* key, std::string& value) const {
        value = store_.getString(section_, key, value);
    }

  private:
    const ProfileStore& store_;
    const char* section_;
};

class SectionWriter {
  public:
    SectionWriter(ProfileStore& store, const char* section) : store_(store), section_(section) {}
    void write(const char* key, bool value) const { store_.setInt(section_, key, value ? 1 : 0); }
    void write(const char* key, int value) const { store_.setInt(section_, key, value); }
    void write(const char* key, const std::string& value) const {
        store_.setString(section_, key, value);
    }

  private:
    ProfileStore& store_;
    const char* section_;
};

}  // namespace

void loadSettings(const ProfileStore& store, AppSettings& settings) {
    // Every member starts from its default, so a missing key reads as the default.
    const PlayOptions playDefaults;
    const OtherOptions otherDefaults;
    PlayOptions& play = settings.play;
    OtherOptions& other = settings.other;
    EffectCatalogue* catalogue = play.effectCatalogue;
    play = playDefaults;
    play.effectCatalogue = catalogue;
    other = otherDefaults;

    const SectionReader playSection(store, kPlaySettingsSection);
    playSection.read("isStartAndIcon", play.isStartAndIcon);
    playSection.read("PlayTime", play.PlayTime);
    playSection.read("isRepeat", play.isRepeat);
    playSection.read("repeatCnt", play.repeatCnt);
    playSection.read("isRandom", play.isRandom);
    playSection.read("waitTime", play.waitTime);
    playSection.read("isEndless", play.isEndless);
    playSection.read("playCnt", play.playCnt);
    playSection.read("useEffect", play.useEffect);

    const SectionReader otherSection(store, kOtherSettingsSection);
    otherSection.read("isStartAndPlay", other.isStartAndPlay);
    otherSection.read("isEndAndPlay", other.isEndAndPlay);
    otherSection.read("isnoTaskTray", other.isnoTaskTray);
    otherSection.read("slistAddType", other.slistAddType);
    otherSection.read("searchExtent", other.searchExtent);
    otherSection.read("flist", other.flist);
    otherSection.read("filter", other.filter);

    settings.app.Volume = volumeFrom(store.getString(kAppSettingsSection, "Volume", ""));
}

void saveSettings(ProfileStore& store, const AppSettings& settings) {
    const PlayOptions& play = settings.play;
    const OtherOptions& other = settings.other;

    const SectionWriter playSection(store, kPlaySettingsSection);
    playSection.write("isStartAndIcon", play.isStartAndIcon);
    playSection.write("PlayTime", play.PlayTime);
    playSection.write("waitTime", play.waitTime);
    playSection.write("isRepeat", play.isRepeat);
    playSection.write("repeatCnt", play.repeatCnt);
    playSection.write("isRandom", play.isRandom);
    playSection.write("isEndless", play.isEndless);
    playSection.write("playCnt", play.playCnt);
    playSection.write("useEffect", play.useEffect);

    const SectionWriter otherSection(store, kOtherSettingsSection);
    otherSection.write("isStartAndPlay", other.isStartAndPlay);
    otherSection.write("isEndAndPlay", other.isEndAndPlay);
    otherSection.write("isnoTaskTray", other.isnoTaskTray);
    otherSection.write("slistAddType", other.slistAddType);
    otherSection.write("searchExtent", other.searchExtent);
    otherSection.write("flist", other.flist);
    otherSection.write("filter", other.filter);

    const SectionWriter appSection(store, kAppSettingsSection);
    appSection.write("Volume", std::clamp(settings.app.Volume, 0, kLoudest));
}
