#include "program_icon.h"

#include "ico_file.h"
#include "snowflake.h"

std::vector<uint8_t> BuildProgramIcon() {
    std::vector<IconImage> images;
    for (int size : kIconSizes) {
        images.push_back(DrawSnowflake(size));
    }
    return BuildIconFile(images);
}
