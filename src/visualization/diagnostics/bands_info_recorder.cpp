#include "visualization/diagnostics/bands_info_recorder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "visualization/log.h"
#include "visualization/spectrum.h"

BandsInfoRecorder::BandsInfoRecorder() {
    beginScope("[BandsInfoRecorder][Constructor]");
    reset();
    endScope();
}

BandsInfoRecorder::~BandsInfoRecorder() {
    beginScope("[BandsInfoRecorder][Destructor]");
    close();
    endScope();
}

void BandsInfoRecorder::setPath(const std::string& path) {
    close();
    reset();
    mPath = path;
}

void BandsInfoRecorder::reset() {
    beginScope("[BandsInfoRecorder][reset]");
    mRecording = false;
    mRecordingPrevious = false;
    mStartTime = 0.0f;
    mRecordTime = 0.0f;
    mLastBands.clear();
    endScope();
}

void BandsInfoRecorder::close() {
    beginScope("[BandsInfoRecorder][close]");
    if (mFile.is_open()) {
        mFile.close();
    }
    endScope();
}

void BandsInfoRecorder::update(const Spectrum& spectrum, float time) {
    if (mPath.empty()) {
        return;
    }
    if (!spectrum.isValid() || spectrum.bandCount() == 0) {
        // The update that starts a recording also marks it as previous, so a started recording
        // survives gaps in the band data and ends with close, setPath or destruction.
        if (mRecording && !mRecordingPrevious) {
            mRecording = false;
            close();
            logMessage("[BandsInfoRecorder][update] End recording");
        }
        mRecordingPrevious = mRecording;
        return;
    }
    if (!mRecording && !mRecordingPrevious) {
        close();
        mFile.open(mPath, std::ios::out | std::ios::trunc);
        if (mFile.is_open()) {
            logMessage("[BandsInfoRecorder][update] Start recording");
            logMessage("[BandsInfoRecorder][update] %s", mPath.c_str());
            mStartTime = time;
            mRecordTime = 0.0f;
            mLastBands.clear();
            mRecording = true;
        } else {
            mFile.clear();
            logMessage("[Visualization][recordBandsInfo] Unable to open file: %s", mPath.c_str());
        }
    }
    if (!mRecording) {
        mRecordingPrevious = false;
        return;
    }
    const std::vector<float>& bands = spectrum.bands();
    if (bands != mLastBands) {
        writeLine(bands);
    }
    // The line just written carries the previous update's time: the first line is at 0.
    mRecordTime = time - mStartTime;
    mLastBands.assign(bands.begin(), bands.end());
    mRecordingPrevious = mRecording;
}

void BandsInfoRecorder::writeLine(const std::vector<float>& bands) {
    // Formatted on the stack in the "%f" form (to_chars with a precision prints what printf
    // prints, several times faster): a recording frame allocates nothing. Write errors are ignored.
    char line[64];
    const auto put = [&](char* begin, double value) {
#if defined(__cpp_lib_to_chars)
        const std::to_chars_result end =
            std::to_chars(begin, line + sizeof line, value, std::chars_format::fixed, 6);
        mFile.write(line, end.ptr - line);
#else
        // A standard library without floating-point to_chars (the web build's) gets printf's
        // own form, on the stack all the same.
        const int written = std::snprintf(begin, size_t(line + sizeof line - begin), "%.6f", value);
        mFile.write(line,
                    (begin - line) + std::clamp(written, 0, int(line + sizeof line - begin) - 1));
#endif
    };
    put(line, double(mRecordTime));
    line[0] = ' ';
    for (const float value : bands) {
        put(line + 1, double(value));
    }
    mFile.put('\n');
}
