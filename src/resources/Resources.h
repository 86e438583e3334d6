#pragma once
// The resources carried inside the executables: every file resources/<TYPE>/<NAME>.<ext> of the
// source tree, compiled in at build time. Nothing is read from disk at run time.
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace qx {

// The bytes of resource `name` of `type` ("RCDATA", "VIEWER101"), both matched without regard
// to case; nullopt when there is no such resource. The bytes live as long as the program.
std::optional<std::span<const std::byte>> findResource(std::string_view type,
                                                       std::string_view name);

}  // namespace qx
