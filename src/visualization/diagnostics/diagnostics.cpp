#include "visualization/diagnostics/diagnostics.h"

#include <cstdlib>
#include <cstring>

#include "visualization/diagnostics/analyzer_debug_view.h"
#include "visualization/diagnostics/bands_info_recorder.h"
#include "visualization/diagnostics/fps_graph.h"
#include "visualization/log.h"
#include "visualization/visualization.h"

DiagnosticsSettings DiagnosticsSettings::fromEnvironment() {
    DiagnosticsSettings settings;
    beginScope("[Diagnostics][fromEnvironment]");
    const char* analyzer = std::getenv("VISUALIZATION_ANALYZER");
    if (analyzer == nullptr || analyzer[0] == '\0') {
        logInScope("VISUALIZATION_ANALYZER not set: no analyzer view");
    } else if (std::strcmp(analyzer, "1") == 0) {
        settings.analyzer = AnalyzerLayout::Normal;
        logInScope("VISUALIZATION_ANALYZER=1: analyzer view");
    } else if (std::strcmp(analyzer, "compact") == 0) {
        settings.analyzer = AnalyzerLayout::Compact;
        logInScope("VISUALIZATION_ANALYZER=compact: compact analyzer view");
    } else {
        logInScope("VISUALIZATION_ANALYZER=%s is neither 1 nor compact: no analyzer view",
                   analyzer);
    }
    const char* record = std::getenv("VISUALIZATION_RECORD_BANDS");
    if (record == nullptr || record[0] == '\0') {
        logInScope("VISUALIZATION_RECORD_BANDS not set: no band recording");
    } else {
        settings.recordBandsPath = record;
        logInScope("VISUALIZATION_RECORD_BANDS=%s: recording the bands", record);
    }
    endScope();
    return settings;
}

Diagnostics::Diagnostics(const DiagnosticsSettings& settings, uint32_t width, uint32_t height)
    : mSettings(settings), mWidth(width), mHeight(height) {
    beginScope("[Diagnostics][Constructor]");
    if (mSettings.analyzer != AnalyzerLayout::Off) {
        mAnalyzer = std::make_unique<OrvantoAnalyzerDebugView>(width, height, 0);
        mAnalyzer->setCompact(mSettings.analyzer == AnalyzerLayout::Compact);
        mFpsGraph = std::make_unique<FpsGraph>();
    }
    if (!mSettings.recordBandsPath.empty()) {
        mRecorder = std::make_unique<BandsInfoRecorder>();
        mRecorder->setPath(mSettings.recordBandsPath);
    }
    endScope();
}

Diagnostics::~Diagnostics() {
    beginScope("[Diagnostics][Destructor]");
    mRecorder.reset();
    mFpsGraph.reset();
    mAnalyzer.reset();
    endScope();
}

void Diagnostics::afterFrame(const Visualization& visualization) {
    const SoundInput& sound = visualization.getSoundInput();
    // Before the host's first bands the spectrum holds the synthetic start-up data, which is not
    // what the host delivered.
    if (mRecorder != nullptr && visualization.hasBandsReceived()) {
        mRecorder->update(sound.getSpectrum(), sound.getTime());
    }
    if (mAnalyzer != nullptr) {
        mFpsGraph->update();
        mAnalyzer->draw(sound);
        mFpsGraph->draw(mWidth, mHeight, 1);
    }
}
