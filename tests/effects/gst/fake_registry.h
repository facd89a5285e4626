#pragma once
// Registry views for the catalogue tests: a fixed list of factories, counting how often
// the catalogue asked, optionally failing.
#include <memory>
#include <string>
#include <vector>

#include "effects/gst/effect_catalogue.h"

struct FakeRegistry {
    std::vector<EffectFactoryInfo> factories;
    int result = kResultOk;
    int calls = 0;
};

inline EffectRegistryView viewOf(const std::shared_ptr<FakeRegistry>& registry) {
    return [registry](std::vector<EffectFactoryInfo>& out) {
        ++registry->calls;
        if (registry->result < 0)
            return registry->result;
        out = registry->factories;
        return kResultOk;
    };
}

inline EffectFactoryInfo audioEffect(std::string factory, std::string longName) {
    return {std::move(factory), std::move(longName), "Filter/Effect/Audio"};
}
