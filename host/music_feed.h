// The music side of the host: a playlist of decoded tracks, the band analysis of the current
// track at the playing position, the sound classifier, and the calls that hand all of it to the
// library (bands every frame, the sound class when it changes, a track change between tracks).
#pragma once

#include <memory>
#include <vector>

#include "audio_clip.h"
#include "band_analyzer.h"
#include "library_api.h"
#include "sound_classifier.h"

namespace vizhost {

class MusicFeed {
public:
    MusicFeed(const LibraryApi& api, const std::vector<AudioClip>& tracks, uint32_t bandCount);

    // Makes `index` the current track; `announce` tells the library with a track change.
    void selectTrack(size_t index, bool announce);
    // Analyses the current track up to `sample` (the sound heard by the end of this frame) and
    // sends the bands, and the sound class when it changed.
    void feed(int64_t sample);

    size_t trackIndex() const { return mTrack; }
    const AudioClip& track() const { return mTracks[mTrack]; }
    size_t trackCount() const { return mTracks.size(); }
    const BandAnalyzer& analyzer() const { return *mAnalyzer; }
    const SoundClassifier& classifier() const { return mClassifier; }

private:
    const LibraryApi& mApi;
    const std::vector<AudioClip>& mTracks;
    uint32_t mBandCount;
    size_t mTrack = 0;
    std::unique_ptr<BandAnalyzer> mAnalyzer;
    uint32_t mAnalyzerRate = 0;
    SoundClassifier mClassifier;
};

}  // namespace vizhost
