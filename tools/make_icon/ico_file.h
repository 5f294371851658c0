// The Windows icon file format (.ico): a directory followed by one 32-bit
// DIB per size, each with its AND mask.
#pragma once

#include <cstdint>
#include <vector>

#include "snowflake.h"

// The bytes of an .ico file that holds the given pictures in the given order.
// Every size from 1 to 256 is allowed; 256 is written as 0 in the directory.
std::vector<uint8_t> BuildIconFile(const std::vector<IconImage>& images);
