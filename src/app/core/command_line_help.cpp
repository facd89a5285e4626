#include "app/core/command_line_help.h"

std::string commandLineHelpEpilogue(const std::string& iniPath) {
    std::string text =
        "\n"
        "Settings:\n"
        "  vorn keeps its settings in tvorn.ini: the file --ini names, otherwise\n"
        "  $XDG_CONFIG_HOME/vorn/tvorn.ini (~/.config/vorn/tvorn.ini when XDG_CONFIG_HOME\n"
        "  is not set). A vorn run from the folder it was built in, or a copy that finds a\n"
        "  tvorn.ini beside itself, keeps the file beside the program instead.\n"
        "  Started like this, vorn uses ";
    text += iniPath;
    text +=
        "\n"
        "\n"
        "Environment:\n"
        "  VORN_AUDIO_SINK  where the sound goes, as a gst-launch description instead of\n"
        "                   the default output (e.g. \"pulsesink\", \"fakesink sync=true\",\n"
        "                   \"wavenc ! filesink location=out.wav\")\n"
        "  GST_DEBUG        GStreamer's debug output (e.g. 2, or *:WARNING,decodebin:6)\n"
        "  GST_PLUGIN_PATH  more folders to look in for GStreamer plug-ins\n"
        "\n"
        "GStreamer's options (--gst-debug-level=N, --gst-debug=LIST, --gst-plugin-path=PATH,\n"
        "--gst-version... as gst-launch-1.0 --help-gst lists them) and Qt's (-platform NAME,\n"
        "-style NAME, -display DISPLAY, -geometry WxH+X+Y, -reverse...) are taken too.\n";
    return text;
}
