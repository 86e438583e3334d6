#pragma once
// Texts and paths between Qt and the standard library, UTF-8 on every platform.
#include <filesystem>
#include <string>

#include <QString>

namespace qx {

inline QString qtext(const std::string& utf8) {
  return QString::fromStdString(utf8);
}
inline std::string utf8(const QString& text) {
  return text.toStdString();
}

inline std::filesystem::path toPath(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                             static_cast<std::size_t>(utf8.size())));
}

inline QString toQString(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                           static_cast<qsizetype>(utf8.size()));
}

}  // namespace qx
