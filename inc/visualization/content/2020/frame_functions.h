// The scalar functions and sound-list readers every point-field animator uses in its frame. Inline,
// so that they cost nothing over a local copy in the per-entity loops.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

#include "visualization/types.h"
#include "visualization/util/math/scalar.h"

namespace content2020 {

using math::kPi;
using math::lerp;
using math::mix;
using math::posmod;
using math::smoothstep;

// Nearest-lower element at position t (clamped to 0..1) along the list, no interpolation; a
// missing or empty list reads as silence.
inline float sample(const std::vector<float>* list, float t) {
    if (list == nullptr || list->empty()) {
        return 0.0f;
    }
    const float c = std::min(std::max(t, 0.0f), 1.0f);
    return (*list)[static_cast<size_t>(c * static_cast<float>(list->size() - 1))];
}

// The first element of a newest-first history; a missing or empty list reads as silence.
inline float newest(const std::vector<float>* list) {
    return list != nullptr && !list->empty() ? (*list)[0] : 0.0f;
}

// The element at index, clamped to the last one; a missing or empty list reads as silence.
inline float element(const std::vector<float>* list, size_t index) {
    if (list == nullptr || list->empty()) {
        return 0.0f;
    }
    return (*list)[std::min(index, list->size() - 1)];
}

// The record of a sound class, looked up by its reduced class; a class the table lacks falls
// back to Moderate.
template <typename Parameters>
const Parameters& parametersFor(const std::map<SoundClass, Parameters>& table, SoundClass c) {
    const auto reduced = SoundClassReduced.find(c);
    const auto found = table.find(reduced != SoundClassReduced.end() ? reduced->second : c);
    return found != table.end() ? found->second : table.at(SoundClass::Moderate);
}

}  // namespace content2020
