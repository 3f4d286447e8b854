// The catalogue: one content class per category, created by the content player at start-up.
#pragma once

#include <memory>

#include "visualization/content/abstract_content.h"

std::unique_ptr<AbstractContent> createContent(ContentCategory category, uint32_t width,
                                               uint32_t height, RotateInfo rotation);
