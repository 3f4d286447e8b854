// INTERIM: stands in the catalogue for a content family that has not landed yet. It accepts
// every mode index of its family, draws nothing and answers an opaque dark grey background.
// Each family replaces its interim in content/catalogue.cpp when it lands.
#pragma once

#include <string>

#include "visualization/content/abstract_content.h"

class InterimContent : public AbstractContent {
public:
    InterimContent(uint32_t width, uint32_t height, RotateInfo rotation, ContentCategory category);
    ~InterimContent() override;

    void update(float dt, const SoundInput& sound, const RotationTransition& rotation) override;
    void render() override;
    void setModePaletteIndex(size_t modeIndex, size_t paletteIndex) override;
    uint32_t getModePaletteIndex() const override;
    colorf getBackgroundColor() const override;
    colorf getBackgroundColor(uint32_t modeIndex) const override;

    ContentCategory getCategory() const { return mCategory; }

private:
    ContentCategory mCategory;
    std::string mScopePrefix;
};
