// Captures every line the library logs through the platform sink, for exact comparison.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& lines() const { return mLines; }
    void clear() { mLines.clear(); }
    // Lines from the `from`-th on that contain `needle`, in order.
    std::vector<std::string> matching(const std::string& needle, size_t from = 0) const;
    // The mode the last "Mode next" line from the `from`-th on names; empty without one.
    std::string lastMode(size_t from = 0) const;
    bool contains(const std::string& line) const;
    // Every line went out with priority 6 and the tag "VISUALIZATION".
    bool allTagged() const { return mAllTagged; }

private:
    static void sink(int priority, const char* tag, const char* message, void* user);
    std::vector<std::string> mLines;
    bool mAllTagged = true;
};

}  // namespace testsupport
