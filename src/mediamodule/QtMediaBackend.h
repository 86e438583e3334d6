#pragma once
// The preview's media player on Qt Multimedia (the media module's own code).
#include <memory>

#include "platform/MediaServices.h"

namespace qx {

std::unique_ptr<MediaBackend> makeQtMediaBackend(MediaEvents& events, QGraphicsScene* scene,
                                                 QSizeF videoSize);

}  // namespace qx
