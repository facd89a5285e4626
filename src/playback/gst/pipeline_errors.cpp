#include "playback/gst/pipeline_errors.h"

#include "playback/core/result_codes.h"

GQuark noAudioStreamErrorQuark() {
    return g_quark_from_static_string("vorn-no-audio-stream");
}

std::int32_t resultCodeForError(const GError* error) {
    if (!error)
        return result::kFail;
    if (error->domain == noAudioStreamErrorQuark())
        return result::kCannotRender;
    if (error->domain == GST_RESOURCE_ERROR) {
        switch (error->code) {
            case GST_RESOURCE_ERROR_NOT_FOUND:
                return result::kFileNotFound;
            case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            case GST_RESOURCE_ERROR_OPEN_READ:
                return result::kAccessDenied;
            default:
                return result::kFail;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
            case GST_STREAM_ERROR_CODEC_NOT_FOUND:
            case GST_STREAM_ERROR_NOT_IMPLEMENTED:
                return result::kUnsupportedStream;
            case GST_STREAM_ERROR_TYPE_NOT_FOUND:
            case GST_STREAM_ERROR_WRONG_TYPE:
            case GST_STREAM_ERROR_DEMUX:
            case GST_STREAM_ERROR_DECODE:
            case GST_STREAM_ERROR_FORMAT:
                return result::kInvalidFileFormat;
            default:
                return result::kFail;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN)
        return result::kUnsupportedStream;
    return result::kFail;
}
