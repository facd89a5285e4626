#pragma once
// The settings records to and from the ini file: section "PlaySettings" for PlayOptions,
// section "OhterSettings" (spelled so in every existing file) for OtherOptions, section
// "App" for AppOptions, one key per member under the member's name. Bools are written as
// 0 or 1; any non-zero value reads as true. Volume reads as 100 when it is missing or not
// a whole number, and is held to 0..100. The effect catalogue pointer is not stored and is
// left as it is.
#include "app/core/app_settings.h"
#include "app/core/profile_store.h"

inline constexpr const char* kPlaySettingsSection = "PlaySettings";
inline constexpr const char* kOtherSettingsSection = "OhterSettings";
inline constexpr const char* kAppSettingsSection = "App";

// Reads every key with the record's default, in the order isStartAndIcon, PlayTime,
// isRepeat, repeatCnt, isRandom, waitTime, isEndless, playCnt, useEffect, isStartAndPlay,
// isEndAndPlay, isnoTaskTray, slistAddType, searchExtent, flist, filter, Volume.
void loadSettings(const ProfileStore& store, AppSettings& settings);

// Writes every key, in the order isStartAndIcon, PlayTime, waitTime, isRepeat, repeatCnt,
// isRandom, isEndless, playCnt, useEffect, isStartAndPlay, isEndAndPlay, isnoTaskTray,
// slistAddType, searchExtent, flist, filter, Volume. A key that cannot be written is
// skipped.
void saveSettings(ProfileStore& store, const AppSettings& settings);
