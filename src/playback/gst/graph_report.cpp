#include "playback/gst/graph_report.h"

#include <ctime>

#include "app/gst/gst_ptr.h"
#include "playback/gst/gst_iterate.h"

namespace {

// A linked pad shows the media on its link: what it negotiated, else what its peer did,
// else (a link in pull mode, where no caps travel) what both ends can carry. An unlinked
// pad shows the last kind of media it can offer; a pad with neither shows nothing.
GstCapsPtr linkCaps(GstPad* pad) {
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (caps)
        return caps;
    GstPadPtr peer(gst_pad_get_peer(pad));
    if (!peer)
        return nullptr;
    caps.reset(gst_pad_get_current_caps(peer.get()));
    if (caps)
        return caps;
    GstCapsPtr own(gst_pad_query_caps(pad, nullptr));
    return GstCapsPtr(gst_pad_peer_query_caps(pad, own.get()));
}

GstCapsPtr lastOfferedCaps(GstPad* pad) {
    GstCapsPtr offered(gst_pad_query_caps(pad, nullptr));
    guint count = offered ? gst_caps_get_size(offered.get()) : 0;
    if (count == 0 || gst_caps_is_any(offered.get()))
        return nullptr;
    return GstCapsPtr(gst_caps_copy_nth(offered.get(), count - 1));
}

PadRecord describePad(GstPad* pad) {
    GstCapsPtr caps = gst_pad_is_linked(pad) ? linkCaps(pad) : lastOfferedCaps(pad);
    PadRecord record = describeCaps(caps.get());
    GCharPtr name(gst_pad_get_name(pad));
    record.name = name ? name.get() : "";
    return record;
}

ElementRecord describeElement(GstElement* element) {
    ElementRecord record;
    GCharPtr name(gst_element_get_name(element));
    record.name = name ? name.get() : "";
    GstIteratorPtr pads(gst_element_iterate_pads(element));
    walkIterator<GstPad>(
        pads.get(),
        [&](GstPad* pad) {
            PadRecord padRecord = describePad(pad);
            if (GST_PAD_DIRECTION(pad) == GST_PAD_SINK)
                record.inputs.push_back(padRecord);
            if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC)
                record.outputs.push_back(padRecord);
            return true;
        },
        [&] {
            record.inputs.clear();
            record.outputs.clear();
        });
    return record;
}

void collectBin(GstBin* bin, std::vector<ElementRecord>& out) {
    // Take the children first, so the walk holds no iterator while it descends.
    std::vector<GstElementPtr> children;
    GstIteratorPtr elements(gst_bin_iterate_elements(bin));
    walkIterator<GstElement>(
        elements.get(),
        [&](GstElement* child) {
            children.emplace_back(GST_ELEMENT(gst_object_ref(child)));
            return true;
        },
        [&] { children.clear(); });
    for (const GstElementPtr& child : children) {
        out.push_back(describeElement(child.get()));
        if (GST_IS_BIN(child.get()))
            collectBin(GST_BIN(child.get()), out);
    }
}

}  // namespace

PadRecord describeCaps(const GstCaps* caps) {
    PadRecord record;
    if (!caps || gst_caps_is_empty(caps) || gst_caps_is_any(caps))
        return record;
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    record.subtype = gst_structure_get_name(structure);
    record.major = record.subtype.substr(0, record.subtype.find('/'));
    GCharPtr text(gst_structure_to_string(structure));
    std::string fields = text ? text.get() : "";
    // "name, field=(type)value, ..." without the leading name.
    std::size_t comma = fields.find(", ");
    record.format = comma == std::string::npos ? "" : fields.substr(comma + 2);
    if (!record.format.empty() && record.format.back() == ';')
        record.format.pop_back();
    int width = 0;
    int height = 0;
    if (gst_structure_get_int(structure, "width", &width) &&
        gst_structure_get_int(structure, "height", &height)) {
        record.pictureSize = " [" + std::to_string(width) + ":" + std::to_string(height) + "]";
    }
    return record;
}

std::vector<ElementRecord> collectGraphRecords(GstElement* pipeline) {
    std::vector<ElementRecord> records;
    if (pipeline && GST_IS_BIN(pipeline))
        collectBin(GST_BIN(pipeline), records);
    return records;
}

void WriteGraphReport(GstElement* pipeline, const std::string& path) {
    if (!pipeline || path.empty())
        return;
    std::vector<ElementRecord> records = collectGraphRecords(pipeline);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    appendReportText(path, formatGraphReport(records, local));
}
