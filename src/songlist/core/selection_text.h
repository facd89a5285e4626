#pragma once
// Selection texts as the main bar builds them: one path, or several paths of one kind each
// followed by "|". The song searcher splits a selection at "|", so a path that itself
// holds "|" cannot be part of one.
#include <string>
#include <string_view>
#include <vector>

#include "app/core/list_type.h"

// What a path on disk is, as far as a selection cares.
enum class PathKind {
    Missing,     // no such file or folder
    Unreadable,  // its attributes cannot be read (permissions, a broken name...)
    Folder,
    File,  // anything that is not a folder
};

PathKind pathKind(const std::string& path);

// True when `path` can stand in a selection text (it holds no "|").
bool fitsSelection(std::string_view path);

// Each path followed by "|", in order.
std::string joinSelection(const std::vector<std::string>& paths);

// The selection made of dropped items: in Folder mode the folders, in the other modes the
// items that are not folders, each followed by "|". Items whose attributes cannot be read
// and paths holding "|" are skipped. Empty when nothing is kept.
std::string dropSelection(const std::vector<std::string>& paths, ListType mode);
