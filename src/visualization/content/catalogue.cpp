#include "visualization/content/catalogue.h"

#include "visualization/content/2020/content.h"
#include "visualization/content/2021/cubes/content.h"
#include "visualization/content/2021/kaleidoscope/content.h"
#include "visualization/content/2021/lines/content.h"
#include "visualization/content/2021/ring/content.h"
#include "visualization/content/none/content.h"

std::unique_ptr<AbstractContent> createContent(ContentCategory category, uint32_t width,
                                               uint32_t height, RotateInfo rotation) {
    switch (category) {
        case ContentCategory::NONE:
            return std::make_unique<contentNone::Content>(width, height, rotation);
        case ContentCategory::CONTENT_2020:
            return std::make_unique<content2020::Content>(width, height, rotation);
        case ContentCategory::CONTENT_2021_CUBES:
            return std::make_unique<content2021::cubes::Content>(width, height, rotation);
        case ContentCategory::CONTENT_2021_RING:
            return std::make_unique<content2021::ring::Content>(width, height, rotation);
        case ContentCategory::CONTENT_2021_LINES:
            return std::make_unique<content2021::lines::Content>(width, height, rotation);
        case ContentCategory::CONTENT_2021_KALEIDOSCOPE:
            return std::make_unique<content2021::kaleidoscope::Content>(width, height, rotation);
    }
    return nullptr;
}
