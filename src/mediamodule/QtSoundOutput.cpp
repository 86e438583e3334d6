#include "mediamodule/QtSoundOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "platform/WaveSound.h"

namespace qx {

namespace {

class QtSoundOutput final : public SoundOutput {
 public:
  QtSoundOutput(const QAudioDevice& device, const QAudioFormat& format, const WaveData& wave)
      : sink_(device, format) {
    buffer_.setData(reinterpret_cast<const char*>(wave.samples.data()),
                    static_cast<qsizetype>(wave.samples.size()));
    buffer_.open(QIODevice::ReadOnly);
  }

  void play() override {
    sink_.stop();
    buffer_.seek(0);
    sink_.start(&buffer_);
  }

 private:
  QBuffer buffer_;  // outlives the sink that reads it
  QAudioSink sink_;
};

}  // namespace

std::unique_ptr<SoundOutput> makeQtSoundOutput(const WaveData& wave) {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return nullptr;
  QAudioFormat format;
  format.setChannelCount(wave.channels);
  format.setSampleRate(wave.sampleRate);
  format.setSampleFormat(wave.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  return std::make_unique<QtSoundOutput>(device, format, wave);
}

}  // namespace qx
