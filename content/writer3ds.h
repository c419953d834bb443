// .3DS encoding of a generated scene.
#pragma once
#include <cstdint>
#include <vector>

#include "content/mesh.h"

std::vector<uint8_t> encode3ds(const Scene& scene);
