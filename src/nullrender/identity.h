#pragma once
// Names and version data of the Zarvex plug-in and its one element.

namespace zarvex {

inline constexpr const char* kPluginName = "zarvex";

inline constexpr const char* kFactoryName = "zarvexsink";
inline constexpr const char* kTypeName = "ZarvexDiscardRenderer";
inline constexpr const char* kLongName = "Zarvex Renderer";
inline constexpr const char* kClassification = "Sink/Video";
inline constexpr const char* kDescription =
    "Accepts any video stream, compressed or raw, and discards every frame at its "
    "presentation time; shows nothing";
inline constexpr const char* kAuthor = "vorn";

// The identifier the player looks the element up by, carried in the factory metadata.
inline constexpr const char* kClassId = "{0885E0A0-3823-11D5-8A69-0050DA994517}";
inline constexpr const char* kClassIdKey = "vorn-class-id";

}  // namespace zarvex
