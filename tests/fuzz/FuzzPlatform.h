// The simulated Windows the fuzz targets read and convert text with, made once per process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"

namespace orv::fuzz {

inline SimPlatform& Platform() {
  static test::SimTestRoot root;
  static SimPlatform platform(root.path());
  return platform;
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace orv::fuzz
