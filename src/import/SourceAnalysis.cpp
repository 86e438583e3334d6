#include "import/SourceAnalysis.h"

extern "C" {
#include <libavutil/spherical.h>
#include <libavutil/stereo3d.h>
}

#include <cctype>
#include <cmath>
#include <string_view>

#include "import/SphericalV1.h"

namespace qx::import {
namespace {

bool isPicture(const AVStream* s) {
  return s->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
         !(s->disposition & AV_DISPOSITION_ATTACHED_PIC) && s->codecpar->width > 0 &&
         s->codecpar->height > 0;
}

// The bounds are shares of the whole panorama in 0.32 fixed point; the area is told in
// millionths of it.
PanoramaArea areaFromBounds(const AVSphericalMapping& map) {
  constexpr double kWhole = 4294967296.0, kUnits = 1'000'000;
  const double width = kWhole - map.bound_left - map.bound_right;
  const double height = kWhole - map.bound_top - map.bound_bottom;
  if (width <= 0 || height <= 0) return {};
  const auto units = [&](double share) { return static_cast<int>(std::lround(kUnits * share)); };
  return {units(1),
          units(1),
          units(map.bound_left / kWhole),
          units(map.bound_top / kWhole),
          units(width / kWhole),
          units(height / kWhole)};
}

// The newer form of the metadata (st3d, sv3d in the sample entry), as FFmpeg's MP4 reader hands
// it over; also what its Matroska reader makes of that container's projection elements.
std::optional<SphericalMetadata> sphericalV2(const AVStream* s) {
  std::optional<SphericalMetadata> meta;
  std::size_t size = 0;
  if (const auto* map = reinterpret_cast<const AVSphericalMapping*>(
          av_stream_get_side_data(s, AV_PKT_DATA_SPHERICAL, &size));
      map && size >= sizeof(AVSphericalMapping)) {
    meta.emplace();
    switch (map->projection) {
      case AV_SPHERICAL_EQUIRECTANGULAR:
        meta->projection = Projection::equirect;
        break;
      case AV_SPHERICAL_EQUIRECTANGULAR_TILE:
        // An equi box with bounds: the frame is that part of the panorama.
        meta->projection = Projection::equirect;
        meta->area = areaFromBounds(*map);
        break;
      case AV_SPHERICAL_CUBEMAP:
        // Cameras and the sites that play 360 videos lay their cube maps out equi-angular.
        meta->projection = Projection::eac;
        break;
      default:
        meta->projection = Projection::unknown;
    }
  }
  if (const auto* stereo = reinterpret_cast<const AVStereo3D*>(
          av_stream_get_side_data(s, AV_PKT_DATA_STEREO3D, &size));
      stereo && size >= sizeof(AVStereo3D)) {
    if (!meta) meta.emplace();
    // An st3d alone says nothing of the projection; the frame's shape then decides.
    meta->stereo = stereo->type == AV_STEREO3D_TOPBOTTOM    ? Stereo::topBottom
                   : stereo->type == AV_STEREO3D_SIDEBYSIDE ? Stereo::leftRight
                                                            : Stereo::mono;
  }
  return meta;
}

// The shape of one eye's picture.
void eyeSize(const SourceInfo& info, int& width, int& height) {
  width = info.width / (info.stereo == Stereo::leftRight ? 2 : 1);
  height = info.height / (info.stereo == Stereo::topBottom ? 2 : 1);
}

bool twoToOne(int width, int height) {
  return height > 0 && std::abs(static_cast<double>(width) / height - 2.0) < 0.02;
}

// A GoPro .360: two video streams of the same size, each a strip of three cube faces.
bool goproLayout(const AVFormatContext* input, const std::vector<int>& pictures) {
  if (pictures.size() < 2) return false;
  const AVCodecParameters* a = input->streams[pictures[0]]->codecpar;
  const AVCodecParameters* b = input->streams[pictures[1]]->codecpar;
  const double shape = static_cast<double>(a->width) / a->height;
  return a->width == b->width && a->height == b->height && shape >= 2.95 && shape <= 3.2;
}

std::string lowerExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool audioTaken(const AVCodecParameters* p) {
  // Flash plays mono and stereo; more channels are mixed down by the encoder.
  if (p->ch_layout.nb_channels > 2) return false;
  if (p->codec_id == AV_CODEC_ID_AAC) return true;
  // FLV's header has room for these rates of MP3 only.
  return p->codec_id == AV_CODEC_ID_MP3 &&
         (p->sample_rate == 44100 || p->sample_rate == 22050 || p->sample_rate == 11025);
}

}  // namespace

SourceInfo analyseSource(AVFormatContext* input, const std::filesystem::path& path,
                         const ImportOptions& options, SourceStreams& streams) {
  SourceInfo info;
  const std::string_view name = input->iformat->name;
  // "mov,mp4,m4a,3gp,3g2,mj2" is one reader for the whole family; the file's brand tells which.
  info.container = std::string(name.substr(0, name.find(',')));
  // One reader serves Matroska and WebM; the file's name tells which the user has.
  if (info.container == "matroska" && lowerExtension(path) == ".webm") info.container = "webm";
  if (info.container == "mov") {
    const AVDictionaryEntry* brand = av_dict_get(input->metadata, "major_brand", nullptr, 0);
    if (brand && std::string_view(brand->value).substr(0, 2) != "qt") info.container = "mp4";
  }
  info.duration = input->duration > 0 ? static_cast<double>(input->duration) / AV_TIME_BASE : 0;

  std::vector<int> pictures;
  for (unsigned i = 0; i < input->nb_streams; ++i)
    if (isPicture(input->streams[i])) pictures.push_back(static_cast<int>(i));
  const int best = av_find_best_stream(input, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (pictures.empty() || best < 0) return info;
  const AVStream* video = input->streams[best];
  info.videoCodec = avcodec_get_name(video->codecpar->codec_id);
  info.width = video->codecpar->width;
  info.height = video->codecpar->height;
  streams.video = {best};

  streams.audio = av_find_best_stream(input, AVMEDIA_TYPE_AUDIO, -1, best, nullptr, 0);
  if (streams.audio >= 0) {
    const AVCodecParameters* a = input->streams[streams.audio]->codecpar;
    // Sound nothing here can decode is left out rather than failing the whole video.
    if (!audioTaken(a) && !avcodec_find_decoder(a->codec_id)) streams.audio = -1;
  }
  if (streams.audio >= 0) {
    const AVCodecParameters* a = input->streams[streams.audio]->codecpar;
    info.audioCodec = avcodec_get_name(a->codec_id);
    info.audioCopied = audioTaken(a);
  } else {
    streams.audio = -1;
    info.audioCopied = true;
  }

  // The projection: what the file says, then its layout, then its shape.
  std::optional<SphericalMetadata> meta = readSphericalV1(path);
  if (!meta) meta = sphericalV2(video);
  if (meta) {
    info.stereo = meta->stereo;
    info.area = meta->area;
    if (meta->projection != Projection::unknown) {
      info.projection = meta->projection;
      info.projectionFrom = ProjectionFrom::metadata;
    }
  }
  if (info.projectionFrom == ProjectionFrom::none && goproLayout(input, pictures)) {
    info.projection = Projection::gopro360;
    info.projectionFrom = ProjectionFrom::layout;
  }
  // An .insv holds the two lens circles side by side, unstitched, in a 2:1 frame that would
  // otherwise pass for equirectangular.
  if (info.projectionFrom == ProjectionFrom::none && lowerExtension(path) == ".insv" &&
      pictures.size() == 1 && twoToOne(info.width, info.height)) {
    info.projection = Projection::dualFisheye;
    info.projectionFrom = ProjectionFrom::layout;
  }
  int eyeWidth = 0, eyeHeight = 0;
  eyeSize(info, eyeWidth, eyeHeight);
  if (info.projectionFrom == ProjectionFrom::none && twoToOne(eyeWidth, eyeHeight)) {
    info.projection = Projection::equirect;
    info.projectionFrom = ProjectionFrom::aspect;
  }
  const Projection used = options.projection.value_or(info.projection);
  if (used == Projection::gopro360 && pictures.size() >= 2)
    streams.video = {pictures[0], pictures[1]};

  const auto format = static_cast<AVPixelFormat>(video->codecpar->format);
  info.videoCopied = video->codecpar->codec_id == AV_CODEC_ID_H264 &&
                     (format == AV_PIX_FMT_YUV420P || format == AV_PIX_FMT_YUVJ420P) &&
                     used == Projection::equirect && info.stereo == Stereo::mono &&
                     !info.area.given() && twoToOne(info.width, info.height) &&
                     info.width <= options.maxWidth;
  return info;
}

}  // namespace qx::import
