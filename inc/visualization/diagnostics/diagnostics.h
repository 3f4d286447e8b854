// What a diagnostic build adds to an instance: the analyzer view and the frame-rate graph drawn
// over each frame, and the band recorder. The diagnostic shared object creates it beside the
// instance from two environment variables; the gallery creates it from its own options.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class BandsInfoRecorder;
class FpsGraph;
class OrvantoAnalyzerDebugView;
class Visualization;

enum class AnalyzerLayout { Off, Normal, Compact };

struct DiagnosticsSettings {
    AnalyzerLayout analyzer = AnalyzerLayout::Off;
    std::string recordBandsPath;  // empty: no recording

    // VISUALIZATION_ANALYZER ("1" or "compact") and VISUALIZATION_RECORD_BANDS (a file path), each
    // logged with what it switches on.
    static DiagnosticsSettings fromEnvironment();
};

class Diagnostics {
public:
    // Needs the GL context current when the analyzer is on.
    Diagnostics(const DiagnosticsSettings& settings, uint32_t width, uint32_t height);
    ~Diagnostics();
    Diagnostics(const Diagnostics&) = delete;
    Diagnostics& operator=(const Diagnostics&) = delete;

    // Right after the instance drew its frame: records its bands (once the host has sent any) and
    // draws the overlay over the picture.
    void afterFrame(const Visualization& visualization);

private:
    DiagnosticsSettings mSettings;
    uint32_t mWidth;
    uint32_t mHeight;
    std::unique_ptr<OrvantoAnalyzerDebugView> mAnalyzer;
    std::unique_ptr<FpsGraph> mFpsGraph;
    std::unique_ptr<BandsInfoRecorder> mRecorder;
};
