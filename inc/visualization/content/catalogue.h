// The catalogue: one content class per category, created by the content player at start-up
// (the default content factory of ContentPlayerFactory). A family lands by replacing its interim
// in catalogue.cpp; its modes are rows of VIZ_CONTENT_MODES in types.h.
#pragma once

#include <memory>

#include "visualization/content/abstract_content.h"

std::unique_ptr<AbstractContent> createContent(ContentCategory category, uint32_t width,
                                               uint32_t height, RotateInfo rotation);
