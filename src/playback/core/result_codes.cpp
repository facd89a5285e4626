#include "playback/core/result_codes.h"

std::string resultCodeText(std::int32_t code) {
    switch (code) {
        case result::kFail:
            return "Unspecified error.";
        case result::kNotImpl:
            return "Not implemented.";
        case result::kNoInterface:
            return "No such interface supported.";
        case result::kOutOfMemory:
            return "A pipeline element could not be created.";
        case result::kFileNotFound:
            return "The system cannot find the file specified.";
        case result::kAccessDenied:
            return "Access is denied.";
        case result::kClassNotRegistered:
            return "Class not registered.";
        case result::kCannotRender:
            return "The file has no audio stream that can be played.";
        case result::kTimeout:
            return "A time-out has expired.";
        case result::kInvalidFileFormat:
            return "The file format is invalid.";
        case result::kUnsupportedStream:
            return "The file's format is not supported.";
        default:
            return "";
    }
}
