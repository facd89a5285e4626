#pragma once
// Puts the user's chosen audio effects into a song's pipeline. The effect elements are
// the catalogue's own instances, shared by every song, so settings the user makes hold
// for later songs and change the playing sound at once.
#include <gst/gst.h>

#include <vector>

class EffectCatalogue;

struct EffectChain {
    GstElement* head = nullptr;       // link the decoded audio into this (nullptr: no effect)
    GstElement* tail = nullptr;       // and take the sound out of this
    std::vector<GstElement*> shared;  // the catalogue's instances now inside the bin
};

// Adds every selected effect of `catalogue` to `bin`, linked in catalogue order with the
// converters they need between them. Effects that can't be made or linked are skipped.
EffectChain insertEffects(GstBin* bin, EffectCatalogue* catalogue);

// Takes the shared instances out of `bin` again (the catalogue keeps them) so the next
// song's pipeline can hold them. Call once the pipeline is in the NULL state.
void removeEffects(GstBin* bin, const EffectChain& chain);
