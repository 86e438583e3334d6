#pragma once
// A short PCM sound on the default audio output (the media module's own code).
#include <memory>

#include "platform/MediaServices.h"

namespace qx {

std::unique_ptr<SoundOutput> makeQtSoundOutput(const WaveData& wave);

}  // namespace qx
