// The PERLINDATA file of a 16 x 16 x 16 x 16 table: the magic, the four sizes
// and the declared length (the file length plus one) in big-endian order,
// four zero bytes, then the cells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> EncodePerlinData(const std::vector<uint8_t>& cells);

// Writes the bytes to the path; false when the file cannot be written whole.
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
