#include "visualization/util/color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "visualization/util/assert.h"

colorf::colorf(const char* hex) {
    set_color(*this, hex);
}

colorf::colorf(const char* hex, float alpha) {
    set_color(*this, hex, alpha);
}

void set_color(colorf& c, int r, int g, int b, int a) {
    c.r = static_cast<float>(r / 255.0);
    c.g = static_cast<float>(g / 255.0);
    c.b = static_cast<float>(b / 255.0);
    c.a = static_cast<float>(a / 255.0);
}

void set_color(colorf& c, const char* hex) {
    unsigned int r = 0;
    unsigned int g = 0;
    unsigned int b = 0;
    unsigned int a = 255;
    const int length = std::sscanf(hex, "%02x%02x%02x%02x", &r, &g, &b, &a);
    VIZ_ASSERT(length == 3 || length == 4);
    set_color(c, static_cast<int>(r), static_cast<int>(g), static_cast<int>(b),
              static_cast<int>(a));
}

void set_color(colorf& c, const char* hex, float alpha) {
    unsigned int r = 0;
    unsigned int g = 0;
    unsigned int b = 0;
    const int length = std::sscanf(hex, "%02x%02x%02x", &r, &g, &b);
    VIZ_ASSERT(length == 3);
    set_color(c, static_cast<int>(r), static_cast<int>(g), static_cast<int>(b),
              static_cast<int>(alpha * 255.0));
}

void color_to_bytes(const colorf& c, int& r, int& g, int& b, int& a) {
    r = static_cast<int>(c.r * 255.0);
    g = static_cast<int>(c.g * 255.0);
    b = static_cast<int>(c.b * 255.0);
    a = static_cast<int>(c.a * 255.0);
}

std::string color_to_hex(const colorf& c) {
    int r, g, b, a;
    color_to_bytes(c, r, g, b, a);
    char text[16];
    std::snprintf(text, sizeof(text), "%02X%02X%02X", r, g, b);
    return text;
}

std::string color_to_hex_rgba(const colorf& c) {
    int r, g, b, a;
    color_to_bytes(c, r, g, b, a);
    char text[16];
    std::snprintf(text, sizeof(text), "%02X%02X%02X%02X", r, g, b, a);
    return text;
}

colorf mix_color(const colorf& c0, const colorf& c1, float t) {
    t = std::max(0.0f, std::min(1.0f, t));
    const float s = 1.0f - t;
    return colorf(c0.r * s + c1.r * t, c0.g * s + c1.g * t, c0.b * s + c1.b * t,
                  c0.a * s + c1.a * t);
}

std::vector<colorf> mix_color(const std::vector<colorf>& colors0,
                              const std::vector<colorf>& colors1, float t) {
    VIZ_ASSERT(colors0.size() == colors1.size());
    std::vector<colorf> mixed(colors0.size());
    for (size_t i = 0; i < colors0.size(); ++i) {
        mixed[i] = mix_color(colors0[i], colors1[i], t);
    }
    return mixed;
}

colorf sample_color(const colorf* colors, size_t count, float t) {
    t = std::min(t, 1.0f);
    const int last = std::max(0, static_cast<int>(count) - 1);
    const float pos = std::max(0.0f, static_cast<float>(last) * t);
    const int i0 = static_cast<int>(std::floor(pos));
    const int i1 = static_cast<int>(std::ceil(pos));
    return mix_color(colors[i0], colors[i1], 1.0f - (static_cast<float>(i1) - pos));
}

colorf sample_color(const std::vector<colorf>& colors, float t) {
    return sample_color(colors.data(), colors.size(), t);
}
