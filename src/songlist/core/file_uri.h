#pragma once
// Addresses as desktops and playlists name files: "file:///home/u/M%C3%BAsica/a%20b.mp3".
// A file address of this machine stands for the bytes of its path, percent-decoded, so
// names that are not valid UTF-8 pass through unchanged.
#include <string>
#include <string_view>

enum class UriKind {
    NotUri,     // a plain path
    LocalFile,  // a file address of this machine; `path` holds its bytes
    Other,      // another scheme (http://...), another host, or no usable path
};

struct UriPath {
    UriKind kind = UriKind::NotUri;
    std::string path;
};

// How `text` names a file. Addresses are "file:" followed by "/" (file:/p, file:///p,
// file://localhost/p), or any "scheme://...". A query or fragment ("?", "#") ends the path.
UriPath pathOfUri(std::string_view text);

// The file address of the absolute `path`: every byte but letters, digits, "-._~/" is
// percent-encoded, so any name survives any text file.
std::string fileUriOf(std::string_view path);
