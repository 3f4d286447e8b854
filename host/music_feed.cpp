#include "music_feed.h"

namespace vizhost {

MusicFeed::MusicFeed(const LibraryApi& api, const std::vector<AudioClip>& tracks,
                     uint32_t bandCount)
    : mApi(api), mTracks(tracks), mBandCount(bandCount) {
    selectTrack(0, false);
}

void MusicFeed::selectTrack(size_t index, bool announce) {
    mTrack = index < mTracks.size() ? index : 0;
    const uint32_t rate = mTracks.empty() ? 48000 : mTracks[mTrack].sampleRate;
    if (mAnalyzer == nullptr || mAnalyzerRate != rate) {
        mAnalyzer = std::make_unique<BandAnalyzer>(mBandCount, rate);
        mAnalyzerRate = rate;
    }
    mClassifier.restart();
    if (announce) {
        mApi.updateTrackChange();
    }
}

void MusicFeed::feed(int64_t sample) {
    if (mTracks.empty()) {
        return;
    }
    const AudioClip& clip = mTracks[mTrack];
    mAnalyzer->analyze(clip.mono.data(), clip.mono.size(), sample);
    const BandsInfo bands{mAnalyzer->bandCount(), mAnalyzer->bands().data()};
    mApi.updateBandsInfo(&bands);
    if (mClassifier.push(mAnalyzer->bands(), mAnalyzer->loudness(), mAnalyzer->centroid())) {
        mApi.updateSoundClass(int32_t(mClassifier.soundClass()));
    }
}

}  // namespace vizhost
