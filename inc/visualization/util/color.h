// The one colour type of the library: four contiguous floats (red, green, blue, alpha), so a
// colorf or an array of them goes to GL as vec4 data without conversion. Channels are not
// clamped; palettes are written as hexadecimal text and parsed once at construction.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct colorf {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    colorf() = default;
    colorf(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
    // Grey.
    colorf(float value, float alpha) : r(value), g(value), b(value), a(alpha) {}
    // "RRGGBB" (opaque) or "RRGGBBAA"; anything else is a fatal error in a built-in table.
    explicit colorf(const char* hex);
    // "RRGGBB" with a separate alpha, which is quantised to a byte like the other channels.
    colorf(const char* hex, float alpha);

    void set(float red, float green, float blue, float alpha) {
        r = red;
        g = green;
        b = blue;
        a = alpha;
    }
    void setGrey(float value, float alpha) { set(value, value, value, alpha); }
};

static_assert(sizeof(colorf) == 4 * sizeof(float), "colorf must be four tightly packed floats");

// Byte form: each channel divided by 255.
void set_color(colorf& c, int r, int g, int b, int a);
void set_color(colorf& c, const char* hex);
void set_color(colorf& c, const char* hex, float alpha);

// Each channel times 255, truncated toward zero (no rounding, no clamping), so hex text survives
// a round trip through colorf unchanged.
void color_to_bytes(const colorf& c, int& r, int& g, int& b, int& a);
// Six upper-case hex digits, red green blue.
std::string color_to_hex(const colorf& c);
// Eight upper-case hex digits, alpha last.
std::string color_to_hex_rgba(const colorf& c);

// Per-channel linear mix, alpha included; t is clamped to 0..1.
colorf mix_color(const colorf& c0, const colorf& c1, float t);
// Element-wise mix of two equally long lists.
std::vector<colorf> mix_color(const std::vector<colorf>& colors0,
                              const std::vector<colorf>& colors1, float t);

// The colour at position t of a gradient that spreads the entries evenly over 0..1. The list
// must not be empty.
colorf sample_color(const colorf* colors, size_t count, float t);
colorf sample_color(const std::vector<colorf>& colors, float t);
