// Writes the band levels the host delivers to a text file, one line per frame whose values
// changed: the time since recording started, then each band value, all in "%f" form. A tool of
// diagnostic builds; the release library never creates it.
#pragma once

#include <fstream>
#include <string>
#include <vector>

class Spectrum;

class BandsInfoRecorder {
public:
    BandsInfoRecorder();
    ~BandsInfoRecorder();
    BandsInfoRecorder(const BandsInfoRecorder&) = delete;
    BandsInfoRecorder& operator=(const BandsInfoRecorder&) = delete;

    // Ends any recording; the next update with a usable frame starts a new file at `path`. An
    // empty path disables the recorder.
    void setPath(const std::string& path);
    // Reads the spectrum's current bands once per frame; `time` is the caller's clock in seconds.
    void update(const Spectrum& spectrum, float time);
    void reset();
    void close();

private:
    void writeLine(const std::vector<float>& bands);

    std::string mPath;
    bool mRecording = false;
    bool mRecordingPrevious = false;
    float mStartTime = 0.0f;
    float mRecordTime = 0.0f;
    std::vector<float> mLastBands;
    std::ofstream mFile;
};
