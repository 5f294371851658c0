// The program's icon file: the snowflake at every size Windows asks for.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The bytes of resources/snowflake_133.ico.
std::vector<uint8_t> BuildProgramIcon();
