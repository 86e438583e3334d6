#include "preview/MediaEngine.h"

#include "platform/MediaModule.h"

namespace qx {

std::unique_ptr<MediaEngine> MediaEngine::make(MediaModule& module, QGraphicsScene* scene,
                                               QSizeF videoSize) {
  MediaServices* services = module.services();
  return services ? std::make_unique<MediaEngine>(*services, scene, videoSize) : nullptr;
}

MediaEngine::MediaEngine(MediaServices& services, QGraphicsScene* scene, QSizeF videoSize)
    : backend_(services.makeMediaBackend(*this, scene, videoSize)) {}

MediaEngine::~MediaEngine() {
  // The player's last words as it goes reach no one.
  blockSignals(true);
  backend_.reset();
}

}  // namespace qx
