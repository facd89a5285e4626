#include "gst_test_support.h"

#include <gtest/gtest.h>

#include <chrono>

namespace zarvex_test {

RunResult playToEnd(GstElement* pipeline, double timeoutSeconds) {
    RunResult result;
    GstBusPtr bus(gst_element_get_bus(pipeline));
    const auto start = std::chrono::steady_clock::now();
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        result.error = "state change failed";
    }
    const auto timeout = static_cast<GstClockTime>(timeoutSeconds * GST_SECOND);
    const auto types = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    while (result.error.empty() && !result.reachedEos) {
        GstMessagePtr message(gst_bus_timed_pop_filtered(bus.get(), timeout, types));
        if (!message) {
            result.error = "timed out";
        } else if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS) {
            result.reachedEos = true;
        } else {
            GError* rawError = nullptr;
            gst_message_parse_error(message.get(), &rawError, nullptr);
            GErrorPtr error(rawError);
            result.error = error ? error->message : "unknown error";
        }
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    gst_element_set_state(pipeline, GST_STATE_NULL);
    return result;
}

GstElementPtr parsePipeline(const std::string& description) {
    GError* rawError = nullptr;
    GstElement* parsed = gst_parse_launch(description.c_str(), &rawError);
    GErrorPtr error(rawError);
    EXPECT_FALSE(error) << description << ": " << (error ? error->message : "");
    EXPECT_TRUE(parsed) << description;
    // The parser hands out a floating reference; the pointer owns a plain one.
    return GstElementPtr(parsed ? GST_ELEMENT(gst_object_ref_sink(parsed)) : nullptr);
}

bool runDescription(const std::string& description) {
    GstElementPtr pipeline = parsePipeline(description);
    if (!pipeline)
        return false;
    const RunResult result = playToEnd(pipeline.get());
    EXPECT_EQ(result.error, "") << description;
    return result.reachedEos;
}

std::filesystem::path binDirectory() {
    const char* dir = std::getenv("VORN_BIN_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

}  // namespace zarvex_test
