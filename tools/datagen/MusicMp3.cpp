#include "MusicMp3.h"

#include "SoundWav.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

namespace datagen {

std::vector<std::uint8_t> EncodeMp3(const std::vector<std::int16_t>& samples)
{
    std::unique_ptr<lame_global_flags, int (*)(lame_global_flags*)> lame(lame_init(), lame_close);
    if (!lame)
        return {};
    lame_set_in_samplerate(lame.get(), kSampleRate);
    lame_set_out_samplerate(lame.get(), kSampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), 112);
    lame_set_quality(lame.get(), 7);        // fast, and plenty for synthesised tones
    lame_set_bWriteVbrTag(lame.get(), 0);   // no Xing frame to patch afterwards
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return {};

    std::vector<std::uint8_t> out;
    const int chunk = 44100;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(chunk) * 5 / 4 + 7200);
    std::vector<short> pcm(samples.begin(), samples.end());
    for (std::size_t at = 0; at < pcm.size(); at += chunk) {
        const int count = static_cast<int>(std::min<std::size_t>(chunk, pcm.size() - at));
        const int written = lame_encode_buffer(lame.get(), pcm.data() + at, pcm.data() + at, count,
                                               buffer.data(), static_cast<int>(buffer.size()));
        if (written < 0)
            return {};
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int tail = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (tail < 0)
        return {};
    out.insert(out.end(), buffer.begin(), buffer.begin() + tail);
    return out;
}

}  // namespace datagen
