// The 3DS chunk identifiers the program reads and our generators write.
#pragma once
#include <cstdint>

namespace chunk3ds {
constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kObject = 0x4000;
constexpr uint16_t kTriangleMesh = 0x4100;
constexpr uint16_t kVertexList = 0x4110;
constexpr uint16_t kFaceList = 0x4120;
constexpr uint16_t kFaceGroup = 0x4130;
constexpr uint16_t kMappingCoords = 0x4140;
} // namespace chunk3ds
